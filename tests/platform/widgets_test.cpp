// The window's logical target and the ImGui controls on it, on SDL's dummy video driver.
#include <gtest/gtest.h>

#include <memory>

#include "engine/Pictures.h"
#include "platform/sdl/SdlRestore.h"
#include "platform/sdl/SdlSurface.h"
#include "platform/sdl/SdlWidgets.h"
#include "platform/sdl/SdlWindow.h"

namespace kv {
namespace {

TEST(FitLogical, IntegerScalesAndLetterbox) {
    auto eq = [](SDL_Rect r, int x, int y, int w, int h) { return r.x == x && r.y == y && r.w == w && r.h == h; };
    EXPECT_TRUE(eq(FitLogical(321, 481, 321, 481), 0, 0, 321, 481));
    EXPECT_TRUE(eq(FitLogical(321, 481, 642, 962), 0, 0, 642, 962));
    // 1920 × 1080: twice fits (962 high), centred.
    EXPECT_TRUE(eq(FitLogical(321, 481, 1920, 1080), (1920 - 642) / 2, (1080 - 962) / 2, 642, 962));
    // Smaller than the playfield: shrunk, keeping its shape.
    const SDL_Rect small = FitLogical(321, 481, 320, 240);
    EXPECT_EQ(small.h, 240);
    EXPECT_EQ(small.w, 321 * 240 / 481);
    EXPECT_EQ(small.x, (320 - small.w) / 2);
}

class WindowFixture {
public:
    explicit WindowFixture(int Scale) {
        TSdlWindowOptions o;
        o.Scale = Scale;
        o.Hidden = true;
        o.VSync = false;
        Window = std::make_unique<TSdlWindow>(o);
        Surface = std::make_unique<TSdlSurface>(Window->Renderer());
        Widgets = std::make_unique<TSdlWidgets>(*Window, *Surface);
        Widgets->HintDelay = 0;
    }
    // One frame of the game: the back buffer, then the controls.
    void Frame(uint32_t Fill = 0) {
        Window->SelectTarget();
        Surface->Fill(Fill);
        Widgets->Render();
    }
    SDL_Event Mouse(Uint32 Type, int X, int Y) {
        SDL_Event e{};
        e.type = Type;
        if (Type == SDL_MOUSEMOTION) {
            e.motion.windowID = Window->WindowId();
            e.motion.x = X;
            e.motion.y = Y;
        } else {
            e.button.windowID = Window->WindowId();
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = X;
            e.button.y = Y;
        }
        return e;
    }
    // Move there, press, release: one frame for each.
    void Click(int X, int Y) {
        Widgets->HandleEvent(Mouse(SDL_MOUSEMOTION, X, Y));
        Frame();
        Widgets->HandleEvent(Mouse(SDL_MOUSEBUTTONDOWN, X, Y));
        Frame();
        Widgets->HandleEvent(Mouse(SDL_MOUSEBUTTONUP, X, Y));
        Frame();
    }
    void Type(const char* Utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = Window->WindowId();
        SDL_strlcpy(e.text.text, Utf8, sizeof(e.text.text));
        Widgets->HandleEvent(e);
        Frame();
    }
    std::unique_ptr<TSdlWindow> Window;
    std::unique_ptr<TSdlSurface> Surface;
    std::unique_ptr<TSdlWidgets> Widgets;
};

TButton MakeButton(const char* Name, const char* Caption, TRect Where, const char* Hint = "") {
    TButton b;
    b.Name = Name;
    b.Caption = Caption;
    b.Bounds = Where;
    b.Font.Height = -15;
    b.Hint = Hint;
    return b;
}

bool IsFace(uint32_t P) { return (P & 0xFFFFFF) == 0xD4D0C8; }

// One window and its widgets for the whole suite: building the Japanese font atlas takes a while.
class WidgetsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { W = new WindowFixture(1); }
    static void TearDownTestSuite() {
        delete W;
        W = nullptr;
    }
    void SetUp() override {
        Normal = MakeButton("Button1", "Normal", Bounds(144, 288, 81, 41), "ゲームを開始します。");
        Quit = MakeButton("Button3", "終了", Bounds(144, 432, 169, 41), "終了します。");
        Edit1.Name = "Edit1";
        Edit1.Bounds = Bounds(96, 232, 201, 20);
        Edit1.Font.Height = -12;
        Edit2 = Edit1;
        Edit2.Name = "Edit2";
        Edit2.Bounds = Bounds(96, 264, 201, 20);
        Version.Caption = "バージョン情報";
        Version.ClientWidth = 229;
        Version.ClientHeight = 137;
        Version.IconBounds = Bounds(20, 24, 32, 32);
        Version.Labels = {{"Kalvento", 60, 8, {"", -16}}, {"Ver1.00", 100, 32, {"", -15}}};
        TButton close = MakeButton("Button1", "Close", Bounds(76, 104, 75, 25), "この画面を閉じます。");
        close.OnClick = [this] { Version.Visible = false; };
        Version.Buttons = {close};
        W->Widgets->SetControls({&Normal, &Quit}, {&Edit1, &Edit2}, &Version, "Form2");
        // Park the pointer away from everything and forget old clicks.
        W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEMOTION, 5, 5));
        W->Frame();
        W->Widgets->TakeClicks();
        W->Widgets->TakeEdits();
    }
    void TearDown() override {
        Normal.Visible = Quit.Visible = false;
        Edit1.Visible = Edit2.Visible = false;
        Version.Visible = false;
        W->Frame();
        W->Widgets->SetControls({}, {}, nullptr);
    }
    TBitmap Pixels() { return W->Surface->ReadPixels(); }
    static WindowFixture* W;
    TButton Normal, Quit;
    TEdit Edit1, Edit2;
    TSubWindow Version;
};
WindowFixture* WidgetsTest::W = nullptr;

TEST_F(WidgetsTest, ButtonSitsExactlyAtItsBounds) {
    W->Frame();
    const TBitmap f = Pixels();
    // The 3-D border: white top-left edge, dark bottom-right edge, grey face inside.
    EXPECT_EQ(f.At(144, 288) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(f.At(144 + 80, 288 + 40) & 0xFFFFFF, 0x404040u);
    EXPECT_TRUE(IsFace(f.At(150, 292)));
    EXPECT_EQ(f.At(143, 300) & 0xFFFFFF, 0u);
    EXPECT_EQ(f.At(144 + 81, 300) & 0xFFFFFF, 0u);
    EXPECT_EQ(f.At(150, 288 + 41) & 0xFFFFFF, 0u);
    // The caption is dark text in the middle.
    int dark = 0;
    for (int y = 300; y < 318; ++y)
        for (int x = 160; x < 210; ++x)
            if ((f.At(x, y) & 0xFF) < 0x60) ++dark;
    EXPECT_GT(dark, 15);
}

TEST_F(WidgetsTest, HiddenButtonsAreNotDrawnNorClicked) {
    Normal.Visible = false;
    W->Click(180, 300);
    EXPECT_FALSE(IsFace(Pixels().At(150, 292)));
    EXPECT_TRUE(W->Widgets->TakeClicks().empty());
}

TEST_F(WidgetsTest, AClickIsReportedByName) {
    W->Click(180, 300);
    W->Click(200, 450);
    const auto clicks = W->Widgets->TakeClicks();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], "Button1");
    EXPECT_EQ(clicks[1], "Button3");
    EXPECT_TRUE(W->Widgets->TakeClicks().empty());
}

TEST_F(WidgetsTest, PressOutsideReleaseInsideIsNoClick) {
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEBUTTONDOWN, 10, 10));
    W->Frame();
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEMOTION, 180, 300));
    W->Frame();
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEBUTTONUP, 180, 300));
    W->Frame();
    EXPECT_TRUE(W->Widgets->TakeClicks().empty());
}

TEST_F(WidgetsTest, DeliverClicksRunsOnClickBetweenFrames) {
    int ran = 0;
    Normal.OnClick = [&] { ++ran; };
    W->Click(180, 300);
    EXPECT_EQ(ran, 0);
    W->Widgets->DeliverClicks();
    EXPECT_EQ(ran, 1);
    W->Widgets->DeliverClicks();
    EXPECT_EQ(ran, 1);
}

TEST_F(WidgetsTest, HoverShowsTheHintAndAPressHidesIt) {
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEMOTION, 180, 300));
    W->Frame();
    W->Frame();
    EXPECT_EQ(W->Widgets->ShownHint(), "ゲームを開始します。");
    // The hint box lies below the pointer, yellow.
    const TBitmap f = Pixels();
    int yellow = 0;
    for (int y = 318; y < 340; ++y)
        for (int x = 180; x < 300; ++x)
            if ((f.At(x, y) & 0xFFFFFF) == 0xFFFFE1) ++yellow;
    EXPECT_GT(yellow, 100);
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEBUTTONDOWN, 180, 300));
    W->Frame();
    EXPECT_EQ(W->Widgets->ShownHint(), "");
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEMOTION, 5, 5));
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEBUTTONUP, 5, 5));
    W->Frame();
    EXPECT_EQ(W->Widgets->ShownHint(), "");
}

TEST_F(WidgetsTest, HintWaitsForItsDelay) {
    W->Widgets->HintDelay = 1000;
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEMOTION, 180, 300));
    W->Frame();
    W->Frame();
    EXPECT_EQ(W->Widgets->ShownHint(), "");
    W->Widgets->HintDelay = 0;
}

TEST_F(WidgetsTest, RedrawWithoutANewFrameLeavesNoTrace) {
    // The hint shows, the pointer leaves, and the controls are drawn again without a new game
    // frame (the window is inactive): the hint must be gone from the picture.
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEMOTION, 180, 300));
    W->Frame(0x00FF0000);
    W->Frame(0x00FF0000);
    ASSERT_FALSE(W->Widgets->ShownHint().empty());
    ASSERT_EQ(Pixels().At(250, 326) & 0xFFFFFF, 0xFFFFE1u) << "the hint should cover this pixel";
    W->Widgets->HandleEvent(W->Mouse(SDL_MOUSEMOTION, 5, 5));
    W->Widgets->Render();
    const TBitmap f = Pixels();
    // Right of the button, where the hint box was.
    for (int y = 322; y < 334; ++y)
        for (int x = 230; x < 290; ++x) ASSERT_EQ(f.At(x, y) & 0xFFFFFF, 0x0000FFu) << x << "," << y;
}

TEST_F(WidgetsTest, TypingGoesThroughTheFilter) {
    Edit1.Visible = Edit2.Visible = true;
    Edit1.Filter = [](const std::string& s) {
        std::string out;
        for (char c : s)
            if (c != '#') out += c;
        return out;
    };
    W->Frame();  // the fields appear and the first takes the keys
    W->Frame();
    EXPECT_TRUE(W->Widgets->TextInputActive());
    W->Type("Ta#ro");
    W->Type("名");
    EXPECT_EQ(Edit1.Text, "Taro名");
    EXPECT_EQ(Edit2.Text, "");
    const auto edits = W->Widgets->TakeEdits();
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].first, "Edit1");
    EXPECT_EQ(edits[0].second, "Taro名");
    // The field is white with a sunken border, where its bounds say.
    const TBitmap f = Pixels();
    EXPECT_EQ(f.At(96, 232) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(f.At(96 + 200, 232 + 19) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(f.At(290, 248) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(WidgetsTest, ClickingTheSecondFieldMovesTheTyping) {
    Edit1.Visible = Edit2.Visible = true;
    W->Frame();
    W->Frame();
    W->Click(200, 274);
    W->Type("Hello");
    EXPECT_EQ(Edit1.Text, "");
    EXPECT_EQ(Edit2.Text, "Hello");
}

TEST_F(WidgetsTest, TextInputFollowsTheFields) {
    W->Frame();
    EXPECT_FALSE(W->Widgets->TextInputActive());
    Edit1.Visible = true;
    W->Frame();
    EXPECT_TRUE(W->Widgets->TextInputActive());
    Edit1.Visible = false;
    W->Frame();
    EXPECT_FALSE(W->Widgets->TextInputActive());
}

TEST_F(WidgetsTest, VersionWindowShowsItsPartsAndCloses) {
    Version.Visible = true;
    W->Frame();
    W->Frame();
    const TBitmap f = Pixels();
    // Centred on the playfield: the grey client, the navy title bar above it.
    int face = 0, navy = 0;
    for (int y = 150; y < 340; ++y)
        for (int x = 40; x < 280; ++x) {
            if (IsFace(f.At(x, y))) ++face;
            if ((f.At(x, y) & 0xFFFFFF) == 0x0A246A) ++navy;
        }
    EXPECT_GT(face, 229 * 100);
    EXPECT_GT(navy, 150 * 10);
    // Its Close button: client (76, 104) + 37, 12 from the window's client origin.
    const float left = (321.0f - (229 + 6)) / 2, top = (481.0f - (137 + 18 + 6)) / 2;
    const int cx = static_cast<int>(left + 3 + 76 + 37), cy = static_cast<int>(top + 18 + 3 + 104 + 12);
    // The game's icon fills its 32 × 32 place at (20, 24) of the client, over the grey face.
    int icon = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (!IsFace(f.At(static_cast<int>(left + 3 + 20) + x, static_cast<int>(top + 18 + 3 + 24) + y))) ++icon;
    EXPECT_GT(icon, 32 * 32 * 3 / 4);
    W->Click(cx, cy);
    const auto clicks = W->Widgets->TakeClicks();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], "Form2.Button1");
    W->Click(cx, cy);
    W->Widgets->DeliverClicks();
    EXPECT_FALSE(Version.Visible);
}

TEST_F(WidgetsTest, MessageBoxClosesOnEnterAndKeepsTheCallbackRunning) {
    SDL_Event enter{};
    enter.type = SDL_KEYDOWN;
    enter.key.windowID = W->Window->WindowId();
    enter.key.keysym.scancode = SDL_SCANCODE_RETURN;
    int turns = 0;
    // Enter arrives after a few turns of the box's loop.
    W->Widgets->ShowMessage("Kalvento", "最高記録：Taroさんの800点", [&] {
        if (++turns == 3) SDL_PushEvent(&enter);
        ASSERT_LT(turns, 1000);
    });
    EXPECT_GE(turns, 3);
    EXPECT_EQ(W->Widgets->OpenMessages(), 0);
}

TEST_F(WidgetsTest, MessageBoxShowsOverTheLastFrameAndOkCloses) {
    W->Frame(0x00FF0000);
    int turns = 0;
    bool sawBlue = false;
    int okTop = -1;
    W->Widgets->ShowMessage("Kalvento", "Error text", [&] {
        ++turns;
        if (turns == 3) {
            const TBitmap f = Pixels();
            sawBlue = (f.At(5, 5) & 0xFFFFFF) == 0x0000FF;
            // Down the middle: the navy title bar, then the first white line is the top edge of OK.
            int y = 0;
            while (y < 481 && (f.At(160, y) & 0xFFFFFF) != 0x0A246A) ++y;
            while (y < 481 && (f.At(160, y) & 0xFFFFFF) == 0x0A246A) ++y;
            while (y < 481 && (f.At(160, y) & 0xFFFFFF) != 0xFFFFFF) ++y;
            okTop = y;
            SDL_Event m = W->Mouse(SDL_MOUSEMOTION, 160, y + 10);
            SDL_Event d = W->Mouse(SDL_MOUSEBUTTONDOWN, 160, y + 10);
            SDL_PushEvent(&m);
            SDL_PushEvent(&d);
        }
        if (turns == 5) {
            SDL_Event u = W->Mouse(SDL_MOUSEBUTTONUP, 160, okTop + 10);
            SDL_PushEvent(&u);
        }
        ASSERT_LT(turns, 100) << "OK did not close the box";
    });
    EXPECT_TRUE(sawBlue);
    EXPECT_GT(okTop, 240);
    EXPECT_LT(okTop, 330);
    EXPECT_EQ(W->Widgets->OpenMessages(), 0);
    EXPECT_TRUE(W->Widgets->TakeClicks().empty());  // OK is no button of the window
}

TEST_F(WidgetsTest, ClosingTheWindowClosesTheBoxAndKeepsTheQuit) {
    int turns = 0;
    W->Widgets->ShowMessage("Kalvento", "text", [&] {
        if (++turns == 2) {
            SDL_Event q{};
            q.type = SDL_QUIT;
            SDL_PushEvent(&q);
        }
        ASSERT_LT(turns, 100);
    });
    bool quit = false;
    SDL_Event e;
    while (SDL_PollEvent(&e))
        if (e.type == SDL_QUIT) quit = true;
    EXPECT_TRUE(quit);
}

TEST_F(WidgetsTest, ABoxOpenedFromInsideABoxStacks) {
    int outer = 0, inner = 0;
    SDL_Event enter{};
    enter.type = SDL_KEYDOWN;
    enter.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    W->Widgets->ShowMessage("Kalvento", "first", [&] {
        ++outer;
        if (outer == 2) {
            W->Widgets->ShowMessage("Kalvento", "second", [&] {
                EXPECT_EQ(W->Widgets->OpenMessages(), 2);
                if (++inner == 2) SDL_PushEvent(&enter);  // closes the second only
                ASSERT_LT(inner, 100);
            });
            EXPECT_EQ(W->Widgets->OpenMessages(), 1);
        }
        if (outer == 4) SDL_PushEvent(&enter);
        ASSERT_LT(outer, 100);
    });
    EXPECT_GE(inner, 2);
    EXPECT_GE(outer, 4);
    EXPECT_EQ(W->Widgets->OpenMessages(), 0);
}

// At twice the size the controls still sit at their bounds: the pointer is mapped back.
TEST(WidgetsScaled, ClickAtTwiceTheSize) {
    WindowFixture w(2);
    TButton b = MakeButton("Button4", "スコア表示", Bounds(144, 384, 169, 41));
    w.Widgets->SetControls({&b}, {}, nullptr);
    float lx = 0, ly = 0;
    EXPECT_TRUE(w.Window->WindowToLogical(400, 800, lx, ly));
    EXPECT_FLOAT_EQ(lx, 200);
    EXPECT_FLOAT_EQ(ly, 400);
    const SDL_Rect r = w.Window->LogicalToWindow(SDL_Rect{96, 232, 201, 20});
    EXPECT_EQ(r.x, 192);
    EXPECT_EQ(r.y, 464);
    EXPECT_EQ(r.w, 402);
    // Just outside the button in window pixels: no click.
    w.Click(2 * 144 - 2, 2 * 400);
    EXPECT_TRUE(w.Widgets->TakeClicks().empty());
    w.Click(2 * 144 + 2, 2 * 400);
    const auto clicks = w.Widgets->TakeClicks();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0], "Button4");
    // The picture is the logical target: 321 × 481 whatever the window's size.
    const TBitmap f = w.Surface->ReadPixels();
    EXPECT_EQ(f.Width, 321);
    EXPECT_EQ(f.At(144, 384) & 0xFFFFFF, 0xFFFFFFu);
}

// In a window of no whole multiple of the playfield, the picture sits in the middle on black,
// however the window was drawn before.
TEST(WindowPicture, CentredOnBlackBars) {
    TSdlWindowOptions o;
    o.Width = 700;
    o.Height = 600;
    o.Hidden = true;
    o.VSync = false;
    TSdlWindow w(o);
    SDL_Renderer* r = w.Renderer();
    SDL_SetRenderTarget(r, nullptr);
    SDL_SetRenderDrawColor(r, 255, 255, 255, 255);
    SDL_RenderClear(r);
    w.SelectTarget();
    SDL_SetRenderDrawColor(r, 0, 255, 0, 255);
    SDL_RenderClear(r);
    w.Compose();
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(r, &ow, &oh);
    ASSERT_EQ(ow, 700);
    std::vector<uint32_t> px(static_cast<size_t>(ow) * oh);
    ASSERT_EQ(SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, px.data(), ow * 4), 0) << SDL_GetError();
    auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * ow + x] & 0xFFFFFFu; };
    const SDL_Rect field = FitLogical(321, 481, ow, oh);
    ASSERT_GT(field.x, 0);
    ASSERT_GT(field.y, 0);
    for (auto [x, y] : {std::pair{0, 0}, {ow - 1, oh - 1}, {field.x - 1, oh / 2}, {field.x + field.w, oh / 2},
                        {ow / 2, field.y - 1}, {ow / 2, field.y + field.h}})
        EXPECT_EQ(at(x, y), 0u) << x << "," << y;
    for (auto [x, y] : {std::pair{field.x, field.y}, {field.x + field.w - 1, field.y + field.h - 1}, {ow / 2, oh / 2}})
        EXPECT_EQ(at(x, y), 0x00FF00u) << x << "," << y;
    w.Show();
}

// A renderer that lost its textures gets them back from their sources: the target, every
// picture, the controls. The loss is simulated by spoiling the textures' contents.
TEST(LostTextures, AResetEventMakesTheTargetPicturesAndControlsAgain) {
    WindowFixture w(1);
    TButton b = MakeButton("Button3", "終了", Bounds(144, 432, 169, 41));
    w.Widgets->SetControls({&b}, {}, nullptr);
    TDXImageList pictures;
    std::vector<std::unique_ptr<TPictureCollectionItem>> items;
    items.push_back(std::make_unique<TPictureCollectionItem>());
    items[0]->Name = "Green";
    items[0]->Picture.Width = items[0]->Picture.Height = 8;
    items[0]->Picture.Pixels.assign(64, 0xFF00FF00u);
    items[0]->Transparent = false;
    pictures.SetItems(std::move(items));
    pictures.AttachSurface(w.Surface.get());
    TPictureCollectionItem& green = *pictures.Find("Green");

    auto spoil = [&] {
        const std::vector<uint32_t> red(64, 0xFFFF0000u);
        SDL_UpdateTexture(w.Surface->TextureOf(green), nullptr, red.data(), 8 * 4);
        w.Window->SelectTarget();
        w.Surface->Fill(0xFFFFFF);
    };
    auto send = [&](Uint32 Type) {
        SDL_Event e{};
        e.type = Type;
        SDL_PushEvent(&e);
        int restored = 0;
        while (SDL_PollEvent(&e))
            if (const ERenderLoss loss = RenderLossOf(e); loss != ERenderLoss::None) {
                RestoreRendering(loss, *w.Window, *w.Surface, pictures, w.Widgets.get());
                ++restored;
            }
        EXPECT_EQ(restored, 1);
    };
    auto frame = [&] {
        w.Window->SelectTarget();
        w.Surface->Fill(0);
        TDrawParams p;
        p.Src = Bounds(0, 0, 8, 8);
        p.DstX = p.DstY = 10;
        p.DstW = p.DstH = 8;
        w.Surface->DrawPicture(green, p);
        w.Widgets->Render();
        return w.Surface->ReadPixels();
    };

    spoil();
    send(SDL_RENDER_TARGETS_RESET);
    EXPECT_EQ(w.Surface->ReadPixels().At(100, 100) & 0xFFFFFF, 0u) << "the target is made anew, black";

    spoil();
    send(SDL_RENDER_DEVICE_RESET);
    const TBitmap f = frame();
    EXPECT_EQ(f.At(12, 12) & 0xFFFFFF, 0x00FF00u) << "the picture was prepared again";
    EXPECT_EQ(f.At(144, 432) & 0xFFFFFF, 0xFFFFFFu) << "the controls still draw";
    EXPECT_TRUE(IsFace(f.At(150, 436)));
}

}  // namespace
}  // namespace kv
