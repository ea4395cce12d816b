#pragma once

#include <random>
#include <string>

namespace SkinTest {

// Deterministic mutations of skin text for the bounded fuzz tests.
class SkinMutator {
public:
    explicit SkinMutator(unsigned seed) : random_(seed) {}

    std::string Mutate(std::string text)
    {
        const int steps = 1 + Below(4);
        for (int i = 0; i < steps; ++i) MutateOnce(text);
        return text;
    }

    std::string RandomText(std::size_t maxLength)
    {
        std::string text(Below(static_cast<int>(maxLength) + 1), ' ');
        for (char& c : text) c = RandomCharacter();
        return text;
    }

private:
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(random_() % static_cast<unsigned>(n)); }

    char RandomCharacter()
    {
        static const std::string kMarkup = "<>/=\"'&!?-;: \t\nabWindowLabelButtonInclude0123456789";
        return Below(4) == 0 ? static_cast<char>(Below(256)) : kMarkup[Below(static_cast<int>(kMarkup.size()))];
    }

    void MutateOnce(std::string& text)
    {
        const int at = Below(static_cast<int>(text.size()) + 1);
        const int length = Below(16);
        switch (Below(5)) {
        case 0:
            if (at < static_cast<int>(text.size())) text[at] = RandomCharacter();
            break;
        case 1: text.insert(static_cast<std::size_t>(at), 1, RandomCharacter()); break;
        case 2: text.erase(static_cast<std::size_t>(at), static_cast<std::size_t>(length)); break;
        case 3: text.insert(static_cast<std::size_t>(at), text.substr(Below(static_cast<int>(text.size()) + 1), length)); break;
        default: text.resize(static_cast<std::size_t>(at)); break;
        }
    }

    std::mt19937 random_;
};

}  // namespace SkinTest
