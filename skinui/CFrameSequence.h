#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace SkinUI {

class CControlUI;

// The frame order and markup of the sequence controls: which numbered image
// comes next on each timer tick, played once, looped or back and forth.
class CFrameSequence {
public:
    // Local id of the control timer that drives the frames.
    static constexpr uint32_t kTimerId = 2100;
    // What a tick asks of the control.
    static constexpr int kStop = -1;     // kill the timer, keep the last frame
    static constexpr int kNothing = -2;  // no pattern: nothing to draw

    CFrameSequence(int spanMs, bool round);

    // Takes the sequence attributes; false for every other name.
    bool SetAttribute(std::string_view name, std::string_view value);

    const std::string& GetPattern() const { return pattern_; }
    void SetPattern(std::string_view pattern) { pattern_ = pattern; }
    int GetCount() const { return count_; }
    void SetCount(int count) { count_ = count; }
    int GetSpan() const { return span_; }
    void SetSpan(int spanMs) { span_ = spanMs; }
    bool IsAutoStart() const { return autoStart_; }

    // What the sequence controls do with their timer: arm it when the control
    // is initialised with autostart, restart from frame 0, show the next frame.
    void OnInit(CControlUI& control) const;
    void Start(CControlUI& control);
    void OnTimer(CControlUI& control);

    // Advances one tick: the frame number to show, kStop or kNothing.
    int Tick();
    // The image name of a frame; "" when the pattern is not one integer conversion.
    std::string FrameName(int frame) const;

private:
    bool TurnAtEnd();
    bool TurnAtStart();

    std::string pattern_;
    int count_ = 0;
    int span_;
    bool loop_ = true;
    bool autoStart_ = false;
    bool round_;
    bool forward_ = true;
    int index_ = 0;
};

}  // namespace SkinUI
