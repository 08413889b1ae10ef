#include "screen.h"

namespace sim {

const ScreenText* Screen::findText(std::string_view words) const {
    for (const ScreenText& text : texts) {
        if (text.text.find(words) != std::string::npos) return &text;
    }
    return nullptr;
}

}  // namespace sim
