#include "menu/menu.h"
#include "runtime/natives.h"

namespace {

// The keys are named as they are by default, whatever the settings file binds; the counts
// ("5 Helos", "3 attacks") are the player's words for the rules, written out as they stand.
struct InstructionLine {
    float y;
    const char* text;
};
constexpr InstructionLine kInstructionLines[] = {
    {0.02f, "~g~Rotorstrike"},
    {0.04f, "5 Helos have marked you as target, each one is stronger and accurate than the last."},
    {0.06f, "After surviving 3 attacks you'll have a chance to relaunch the missiles"},
    {0.08f, "at the helo by pressing NUM9 / X / A(GAMEPAD)."},
    {0.10f, "If you die, you will simply respawn at the last place you attacked the helo."},
    {0.12f, "Press F9 again at anytime to exit the mod"},
    {0.14f, ""},
    {0.16f, "~b~ARMOR: add 10% chance to give you a temporary shield"},
    {0.18f, "~r~WEAPON: Increase damage by 50. RECOMMENDED"},
    {0.20f, "~r~PLEASE REMOVE ANY INVINCIBILITY"},
};

}  // namespace

void drawInstructions() {
    drawRect(0.5f, 0.13f, 0.3f, 0.22f, 0, 0, 0, 200);
    for (const InstructionLine& line : kInstructionLines) drawMenuText(0.5f, line.y, line.text, kMenuTextWhite);
}
