// Pango, Cairo and fontconfig keep process-wide font caches; releasing them after the last
// test lets the leak checker see only what the framework itself leaves behind.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <gtest/gtest.h>

namespace {

class FontCacheRelease : public ::testing::Environment {
public:
    void TearDown() override
    {
        pango_cairo_font_map_set_default(nullptr);
        cairo_debug_reset_static_data();
        FcFini();
    }
};

const ::testing::Environment* const kRelease = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

} // namespace
