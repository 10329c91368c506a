// The window's keyboard reads the key table it is given, and the default one without.
#include <gtest/gtest.h>

#include "userfiles/KeyConfig.h"
#include "platform/headless/Headless.h"
#include "shell/Form1.h"

namespace kv {
namespace {

struct KeyTable : ::testing::Test {
    headless::TRecordingSurface Surface;
    headless::TScriptedKeyboard Keyboard;
    TServices Services() {
        TServices s;
        s.Surface = &Surface;
        s.Keyboard = &Keyboard;
        return s;
    }
};

TEST_F(KeyTable, TheWindowReadsTheGivenTable) {
    const TKeyAssignment mine = ParseKeyConfig("shot = A\nslow =\n", "keys.conf");
    TServices s = Services();
    s.Keys = &mine;
    TForm1 form(s);
    Keyboard.SetKey(keys::Z, true);
    Keyboard.SetKey(keys::LShift, true);
    form.DXInput1.Refresh();
    EXPECT_FALSE(form.DXInput1.Has(isButton1));
    EXPECT_FALSE(form.DXInput1.Has(isButton3));
    Keyboard.SetKey(keys::A, true);
    Keyboard.SetKey(keys::K, true);  // not listed: the default up keys stay
    form.DXInput1.Refresh();
    EXPECT_TRUE(form.DXInput1.Has(isButton1));
    EXPECT_TRUE(form.DXInput1.Has(isUp));
}

TEST_F(KeyTable, WithoutATableTheDefaultsApply) {
    TForm1 form(Services());
    Keyboard.SetKey(keys::Z, true);
    form.DXInput1.Refresh();
    EXPECT_TRUE(form.DXInput1.Has(isButton1));
}

}  // namespace
}  // namespace kv
