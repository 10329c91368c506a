// The key names of keys.conf are SDL's, and a user's controller mappings file is added to SDL's.
#include <gtest/gtest.h>

#include <SDL.h>

#include <fstream>

#include "userfiles/KeyConfig.h"
#include "platform/sdl/SdlJoystick.h"

namespace kv {
namespace {

TEST(KeyNames, EveryNameIsSdlsNameForTheSameScancode) {
    size_t n = 0;
    const TKeyNameEntry* table = KeyNameTable(n);
    ASSERT_GT(n, 200u);
    for (size_t i = 0; i < n; ++i) {
        EXPECT_EQ(SDL_GetScancodeFromName(table[i].Name), table[i].Code) << table[i].Name;
        EXPECT_STREQ(SDL_GetScancodeName(static_cast<SDL_Scancode>(table[i].Code)), table[i].Name);
    }
    // The names a file is written with: SDL's, apart from the either-shift slot.
    for (uint16_t c = 1; c < SDL_NUM_SCANCODES; ++c) {
        const std::string name = KeyName(c);
        if (name[0] == '#' || c == keys::LShift) continue;
        EXPECT_EQ(SDL_GetScancodeFromName(name.c_str()), c) << name;
    }
    EXPECT_EQ(KeyName(keys::LShift), "Shift");
    EXPECT_EQ(SDL_SCANCODE_LSHIFT, keys::LShift);
}

std::string WriteFile(const std::string& Name, const std::string& Text) {
    const std::string path = ::testing::TempDir() + Name;
    std::ofstream(path) << Text;
    return path;
}

TEST(ControllerMappings, AUserFileIsAddedAndABadLineIsNamed) {
    const std::string good = WriteFile("kv_good_gamecontrollerdb.txt",
        "# a test pad\n"
        "03000000aaaa0000bbbb000000000000,Kalvento Test Pad,a:b0,b:b1,x:b2,y:b3,leftx:a0,lefty:a1,platform:Linux,\n");
    {
        TSdlJoystick j(nullptr, good);
        if (!j.Available()) GTEST_SKIP() << "no joystick system";
        EXPECT_EQ(j.MappingsError(), "");
        EXPECT_EQ(j.MappingsAdded(), 1);
        SDL_JoystickGUID guid = SDL_JoystickGetGUIDFromString("03000000aaaa0000bbbb000000000000");
        char* mapping = SDL_GameControllerMappingForGUID(guid);
        ASSERT_NE(mapping, nullptr);
        EXPECT_NE(std::string(mapping).find("Kalvento Test Pad"), std::string::npos);
        SDL_free(mapping);
    }
    const std::string bad = WriteFile("kv_bad_gamecontrollerdb.txt", "# mine\nthis is not a mapping\n");
    {
        TSdlJoystick j(nullptr, bad);
        EXPECT_TRUE(j.Available());  // the pad still works with SDL's own mappings
        EXPECT_EQ(j.MappingsError(), bad + ":2: not a controller mapping (GUID,name,mapping…); the line is left out");
    }
    {
        TSdlJoystick j(nullptr, ::testing::TempDir() + "kv_no_such_gamecontrollerdb.txt");
        EXPECT_EQ(j.MappingsError(), "");
        EXPECT_EQ(j.MappingsAdded(), 0);
    }
}

}  // namespace
}  // namespace kv
