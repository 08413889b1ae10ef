// The floating message, the HUD text line and feed notifications, as the screen shows them.
#include <cstdint>
#include <string>
#include <vector>

#include "plugin_test.h"
#include "runtime/messages.h"

namespace {

class MessagesTest : public PluginTest {
protected:
    MessagesTest() { host.runFrame(); }

    struct Drawn {
        float y;
        int32_t alpha;
    };

    // Runs frames until the message is gone, recording each drawing of it.
    std::vector<Drawn> drawUntilGone(const std::string& text) {
        std::vector<Drawn> drawn;
        for (int frame = 0; frame < 1000 && (drawn.empty() || mod.messageFramesLeft > 0); ++frame) {
            host.runFrame();
            if (const sim::ScreenText* shown = host.screen().findText(text)) drawn.push_back({shown->y, shown->style.colour.a});
        }
        host.runFrame();
        EXPECT_EQ(host.screen().findText(text), nullptr) << "drawn after its last frame";
        return drawn;
    }
};

TEST_F(MessagesTest, AMessageOfNFramesIsDrawnNTimes) {
    for (const uint32_t frames : {1u, 2u, 50u, 140u}) {
        for (const bool rising : {false, true}) {
            showFloatingMessage("Counted", frames, rising);
            EXPECT_EQ(drawUntilGone("Counted").size(), frames) << frames << (rising ? " rising" : " static");
        }
    }
}

TEST_F(MessagesTest, ANewMessageReplacesTheOldAtOnce) {
    showFloatingMessage("Old news", 100, true);
    host.runFrames(20);
    showFloatingMessage("", 140, true);  // the empty text blanks what was showing
    host.runFrame();
    ASSERT_EQ(host.screen().texts.size(), 1u);
    EXPECT_EQ(host.screen().texts[0].text, "");
    EXPECT_EQ(host.screen().findText("Old news"), nullptr);
    EXPECT_EQ(drawUntilGone("").size(), 139u);
}

TEST_F(MessagesTest, RisingMessageOf140FramesRisesFadesInHangsAndFadesOut) {
    showFloatingMessage("Rising", 140, true);
    const std::vector<Drawn> drawn = drawUntilGone("Rising");
    ASSERT_EQ(drawn.size(), 140u);

    std::vector<int32_t> alphas;
    for (const Drawn& d : drawn) alphas.push_back(d.alpha);
    const std::vector<int32_t> fadeIn(alphas.begin(), alphas.begin() + 14);
    EXPECT_EQ(fadeIn, (std::vector<int32_t>{0, 20, 40, 60, 80, 100, 120, 140, 160, 180, 200, 220, 240, 255}));
    for (std::size_t frame = 14; frame < 126; ++frame) EXPECT_EQ(alphas[frame], 255) << "drawn frame " << frame + 1;
    const std::vector<int32_t> fadeOut(alphas.end() - 14, alphas.end());
    EXPECT_EQ(fadeOut, (std::vector<int32_t>{235, 215, 195, 175, 155, 135, 115, 95, 75, 55, 35, 15, 0, 0}));

    EXPECT_NEAR(drawn[0].y, 0.550000f, 1e-6);
    EXPECT_NEAR(drawn[14].y, 0.470310f, 1e-6);
    EXPECT_NEAR(drawn[125].y, 0.441451f, 1e-6);
    EXPECT_NEAR(drawn[139].y, 0.371901f, 1e-6);
    EXPECT_NEAR(mod.messageRiseSpeed, 0.855714f, 1e-6);
}

TEST_F(MessagesTest, StaticMessageStandsStillAtFullStrength) {
    showFloatingMessage("Rising first", 140, true);
    drawUntilGone("Rising first");
    showFloatingMessage("Standing", 30, false);
    for (const Drawn& d : drawUntilGone("Standing")) {
        EXPECT_FLOAT_EQ(d.y, 0.4f);
        EXPECT_EQ(d.alpha, 255);
    }
    const sim::ScreenText* last = nullptr;
    showFloatingMessage("Standing", 2, false);
    host.runFrame();
    last = host.screen().findText("Standing");
    ASSERT_NE(last, nullptr);
    EXPECT_FLOAT_EQ(last->x, 0.5f);
}

TEST_F(MessagesTest, LongTextIsCutToTheBuffer) {
    const std::string longText(1000, 'x');
    showFloatingMessage(longText.c_str(), 1, false);
    host.runFrame();
    ASSERT_EQ(host.screen().texts.size(), 1u);
    EXPECT_EQ(host.screen().texts[0].text, std::string(kTextCapacity - 1, 'x'));
}

// Each helper issues its ten natives in order with exact arguments.
TEST_F(MessagesTest, TextHelpersIssueTheirNativesInOrder) {
    struct Case {
        const char* name;
        void (*issue)();
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"drawHudText", [] { drawHudText("Score: 12", 0.25f, 0.75f, 128); },
         {"setTextFont(0)", "setTextScale(0.45, 0.45)", "setTextColour(255, 255, 255, 128)", "setTextWrap(0, 1)",
          "setTextCentre(1)", "setTextDropShadow(20, 20, 20, 20, 20)", "setTextEdge(1, 0, 0, 0, 205)",
          "beginTextCommandDisplayText(\"STRING\")", "addTextComponentSubstringPlayerName(\"Score: 12\")",
          "endTextCommandDisplayText(0.25, 0.75, 0)"}},
        {"postNotification", [] { postNotification("~g~Level 2 unlocked"); },
         {"setTextFont(0)", "setTextScale(0.55, 0.55)", "setTextColour(255, 255, 255, 255)", "setTextWrap(0, 1)",
          "setTextCentre(1)", "setTextDropShadow(0, 0, 0, 0, 0)", "setTextEdge(1, 0, 0, 0, 205)",
          "beginTextCommandThefeedPost(\"STRING\")",
          "addTextComponentSubstringPlayerName(\"~g~Level 2 unlocked\")", "endTextCommandThefeedPostTicker(0, 0)"}},
    };
    const std::vector<uint64_t> hudHashes = {sim::nativeHash("setTextFont"), sim::nativeHash("setTextScale"), sim::nativeHash("setTextColour"),
                                             sim::nativeHash("setTextWrap"), sim::nativeHash("setTextCentre"), sim::nativeHash("setTextDropShadow"),
                                             sim::nativeHash("setTextEdge"), sim::nativeHash("beginTextCommandDisplayText"), sim::nativeHash("addTextComponentSubstringPlayerName"),
                                             sim::nativeHash("endTextCommandDisplayText")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.runFrame();
        const std::size_t before = host.calls().size();
        c.issue();
        EXPECT_EQ(describeCalls(before), c.expected);
    }
    host.runFrame();
    std::size_t before = host.calls().size();
    drawHudText("x", 0.5f, 0.5f, 1);
    EXPECT_EQ(callHashes(before), hudHashes);
    const sim::ScreenText& text = host.screen().texts[0];
    EXPECT_EQ(text.style.scaleX, 0.45f);
    EXPECT_TRUE(text.style.centred);
    EXPECT_EQ(text.style.edgeColour, (sim::Rgba{0, 0, 0, 205}));

    host.runFrame();
    before = host.calls().size();
    postNotification("posted");
    ASSERT_EQ(host.screen().notifications.size(), 1u);
    EXPECT_EQ(host.screen().notifications[0].text, "posted");
    const std::vector<uint64_t> noteHashes = callHashes(before);
    ASSERT_EQ(noteHashes.size(), 10u);
    EXPECT_EQ(noteHashes[7], sim::nativeHash("beginTextCommandThefeedPost"));
    EXPECT_EQ(noteHashes[9], sim::nativeHash("endTextCommandThefeedPostTicker"));
}

}  // namespace
