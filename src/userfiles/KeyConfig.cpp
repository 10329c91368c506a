#include "userfiles/KeyConfig.h"

#include <algorithm>
#include <vector>

#include "engine/Names.h"

namespace kv {

namespace {

// SDL's scancode names, each one that SDL reads back as the same code. Scancode 158 is also
// called "Return" by SDL, which reads that name as 40: it is written as #158.
constexpr TKeyNameEntry KeyNames[] = {
    {4, "A"}, {5, "B"}, {6, "C"}, {7, "D"}, {8, "E"}, {9, "F"}, {10, "G"}, {11, "H"}, {12, "I"},
    {13, "J"}, {14, "K"}, {15, "L"}, {16, "M"}, {17, "N"}, {18, "O"}, {19, "P"}, {20, "Q"}, {21, "R"},
    {22, "S"}, {23, "T"}, {24, "U"}, {25, "V"}, {26, "W"}, {27, "X"}, {28, "Y"}, {29, "Z"}, {30, "1"},
    {31, "2"}, {32, "3"}, {33, "4"}, {34, "5"}, {35, "6"}, {36, "7"}, {37, "8"}, {38, "9"}, {39, "0"},
    {40, "Return"}, {41, "Escape"}, {42, "Backspace"}, {43, "Tab"}, {44, "Space"}, {45, "-"},
    {46, "="}, {47, "["}, {48, "]"}, {49, "\\"}, {50, "#"}, {51, ";"}, {52, "'"}, {53, "`"}, {54, ","},
    {55, "."}, {56, "/"}, {57, "CapsLock"}, {58, "F1"}, {59, "F2"}, {60, "F3"}, {61, "F4"}, {62, "F5"},
    {63, "F6"}, {64, "F7"}, {65, "F8"}, {66, "F9"}, {67, "F10"}, {68, "F11"}, {69, "F12"},
    {70, "PrintScreen"}, {71, "ScrollLock"}, {72, "Pause"}, {73, "Insert"}, {74, "Home"},
    {75, "PageUp"}, {76, "Delete"}, {77, "End"}, {78, "PageDown"}, {79, "Right"}, {80, "Left"},
    {81, "Down"}, {82, "Up"}, {83, "Numlock"}, {84, "Keypad /"}, {85, "Keypad *"}, {86, "Keypad -"},
    {87, "Keypad +"}, {88, "Keypad Enter"}, {89, "Keypad 1"}, {90, "Keypad 2"}, {91, "Keypad 3"},
    {92, "Keypad 4"}, {93, "Keypad 5"}, {94, "Keypad 6"}, {95, "Keypad 7"}, {96, "Keypad 8"},
    {97, "Keypad 9"}, {98, "Keypad 0"}, {99, "Keypad ."}, {101, "Application"}, {102, "Power"},
    {103, "Keypad ="}, {104, "F13"}, {105, "F14"}, {106, "F15"}, {107, "F16"}, {108, "F17"},
    {109, "F18"}, {110, "F19"}, {111, "F20"}, {112, "F21"}, {113, "F22"}, {114, "F23"}, {115, "F24"},
    {116, "Execute"}, {117, "Help"}, {118, "Menu"}, {119, "Select"}, {120, "Stop"}, {121, "Again"},
    {122, "Undo"}, {123, "Cut"}, {124, "Copy"}, {125, "Paste"}, {126, "Find"}, {127, "Mute"},
    {128, "VolumeUp"}, {129, "VolumeDown"}, {133, "Keypad ,"}, {134, "Keypad = (AS400)"},
    {153, "AltErase"}, {154, "SysReq"}, {155, "Cancel"}, {156, "Clear"}, {157, "Prior"},
    {159, "Separator"}, {160, "Out"}, {161, "Oper"}, {162, "Clear / Again"}, {163, "CrSel"},
    {164, "ExSel"}, {176, "Keypad 00"}, {177, "Keypad 000"}, {178, "ThousandsSeparator"},
    {179, "DecimalSeparator"}, {180, "CurrencyUnit"}, {181, "CurrencySubUnit"}, {182, "Keypad ("},
    {183, "Keypad )"}, {184, "Keypad {"}, {185, "Keypad }"}, {186, "Keypad Tab"},
    {187, "Keypad Backspace"}, {188, "Keypad A"}, {189, "Keypad B"}, {190, "Keypad C"},
    {191, "Keypad D"}, {192, "Keypad E"}, {193, "Keypad F"}, {194, "Keypad XOR"}, {195, "Keypad ^"},
    {196, "Keypad %"}, {197, "Keypad <"}, {198, "Keypad >"}, {199, "Keypad &"}, {200, "Keypad &&"},
    {201, "Keypad |"}, {202, "Keypad ||"}, {203, "Keypad :"}, {204, "Keypad #"}, {205, "Keypad Space"},
    {206, "Keypad @"}, {207, "Keypad !"}, {208, "Keypad MemStore"}, {209, "Keypad MemRecall"},
    {210, "Keypad MemClear"}, {211, "Keypad MemAdd"}, {212, "Keypad MemSubtract"},
    {213, "Keypad MemMultiply"}, {214, "Keypad MemDivide"}, {215, "Keypad +/-"}, {216, "Keypad Clear"},
    {217, "Keypad ClearEntry"}, {218, "Keypad Binary"}, {219, "Keypad Octal"}, {220, "Keypad Decimal"},
    {221, "Keypad Hexadecimal"}, {224, "Left Ctrl"}, {225, "Left Shift"}, {226, "Left Alt"},
    {227, "Left GUI"}, {228, "Right Ctrl"}, {229, "Right Shift"}, {230, "Right Alt"},
    {231, "Right GUI"}, {257, "ModeSwitch"}, {258, "AudioNext"}, {259, "AudioPrev"},
    {260, "AudioStop"}, {261, "AudioPlay"}, {262, "AudioMute"}, {263, "MediaSelect"}, {264, "WWW"},
    {265, "Mail"}, {266, "Calculator"}, {267, "Computer"}, {268, "AC Search"}, {269, "AC Home"},
    {270, "AC Back"}, {271, "AC Forward"}, {272, "AC Stop"}, {273, "AC Refresh"},
    {274, "AC Bookmarks"}, {275, "BrightnessDown"}, {276, "BrightnessUp"}, {277, "DisplaySwitch"},
    {278, "KBDIllumToggle"}, {279, "KBDIllumDown"}, {280, "KBDIllumUp"}, {281, "Eject"},
    {282, "Sleep"}, {283, "App1"}, {284, "App2"}, {285, "AudioRewind"}, {286, "AudioFastForward"},
    {287, "SoftLeft"}, {288, "SoftRight"}, {289, "Call"}, {290, "EndCall"},
};

// Names that are not SDL's: the shift slot of the default table reads either shift key.
constexpr TKeyNameEntry KeyAliases[] = {{keys::LShift, "Shift"}, {keys::Enter, "Enter"}};

std::string_view Trim(std::string_view S) {
    const char* blank = " \t\r\n";
    const size_t b = S.find_first_not_of(blank);
    if (b == std::string_view::npos) return {};
    return S.substr(b, S.find_last_not_of(blank) - b + 1);
}

bool IsNumber(std::string_view S) {
    return !S.empty() && S.size() <= 6 && std::all_of(S.begin(), S.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Lines without their breaks; a CR before the LF belongs to the break.
std::vector<std::string_view> SplitLines(std::string_view Text) {
    std::vector<std::string_view> lines;
    while (!Text.empty()) {
        const size_t nl = Text.find('\n');
        std::string_view line = Text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (nl == std::string_view::npos) break;
        Text.remove_prefix(nl + 1);
    }
    return lines;
}

bool IsComment(std::string_view Line) {
    Line = Trim(Line);
    return Line.empty() || Line.front() == '#';
}

}  // namespace

std::optional<int32_t> KeySlotOf(std::string_view Name) {
    if (SameName(Name, "rewind")) return ksRewind;
    return InputStateOf(Name);
}

std::string KeySlotName(int32_t Slot) { return Slot == ksRewind ? "rewind" : InputStateName(Slot); }

const TKeyNameEntry* KeyNameTable(size_t& Count) {
    Count = std::size(KeyNames);
    return KeyNames;
}

std::string KeyName(uint16_t Code) {
    if (Code == keys::LShift) return "Shift";
    for (const TKeyNameEntry& e : KeyNames)
        if (e.Code == Code && std::string_view(e.Name).find(',') == std::string_view::npos) return e.Name;
    return "#" + std::to_string(Code);
}

std::optional<uint16_t> KeyCode(std::string_view Name) {
    if (Name.size() > 1 && Name.front() == '#' && IsNumber(Name.substr(1))) {
        const int v = std::stoi(std::string(Name.substr(1)));
        if (v < 1 || v > MaxKeyCode) return std::nullopt;
        return static_cast<uint16_t>(v);
    }
    for (const TKeyNameEntry& e : KeyAliases)
        if (SameName(Name, e.Name)) return e.Code;
    for (const TKeyNameEntry& e : KeyNames)
        if (SameName(Name, e.Name)) return e.Code;
    return std::nullopt;
}

TKeyBinding ParseKeyBinding(std::string_view Text, const std::string& Where) {
    auto fail = [&](const std::string& Problem) -> void { throw EKeyConfigError(Where + ": " + Problem); };
    const size_t eq = Text.find('=');
    if (eq == std::string_view::npos)
        fail("expected 'state = key, key, key', found '" + std::string(Trim(Text)) + "'");
    const std::string_view stateName = Trim(Text.substr(0, eq));
    TKeyBinding b;
    const std::optional<int32_t> state = KeySlotOf(stateName);
    if (!state)
        fail(stateName.empty() ? std::string("no state before '='")
                               : "unknown state '" + std::string(stateName) +
                                     "' (up, down, left, right, shot, bomb, slow, button1 to button32, rewind)");
    b.State = *state;
    std::string_view rest = Trim(Text.substr(eq + 1));
    if (rest.empty()) return b;
    size_t n = 0;
    while (true) {
        const size_t comma = rest.find(',');
        const std::string_view name = Trim(rest.substr(0, comma));
        if (name.empty()) fail("an empty key name in '" + std::string(Trim(Text.substr(eq + 1))) + "'");
        const std::optional<uint16_t> code = KeyCode(name);
        if (!code) {
            if (name.front() == '#' && IsNumber(name.substr(1)))
                fail("key number '" + std::string(name) + "' is out of range (#1 to #" + std::to_string(MaxKeyCode) + ")");
            fail("unknown key '" + std::string(name) + "'");
        }
        if (n == b.Keys.size()) fail("more than three keys for '" + std::string(stateName) + "'");
        if (std::find(b.Keys.begin(), b.Keys.begin() + n, *code) != b.Keys.begin() + n)
            fail("key '" + std::string(name) + "' is listed twice for '" + std::string(stateName) + "'");
        b.Keys[n++] = *code;
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return b;
}

TKeyAssignment ParseKeyConfig(std::string_view Text, const std::string& FileName,
                              std::array<int32_t, KeySlotCount>* LineOf) {
    TKeyAssignment t = DefaultKeyAssignment();
    std::array<int32_t, KeySlotCount> lineOf{};
    const std::vector<std::string_view> lines = SplitLines(Text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsComment(lines[i])) continue;
        const int32_t lineNo = static_cast<int32_t>(i + 1);
        const std::string where = FileName + ":" + std::to_string(lineNo);
        if (lines[i].find('\0') != std::string_view::npos) throw EKeyConfigError(where + ": not a text line");
        const TKeyBinding b = ParseKeyBinding(lines[i], where);
        if (lineOf[b.State])
            throw EKeyConfigError(where + ": '" + KeySlotName(b.State) + "' is already set on line " +
                                  std::to_string(lineOf[b.State]));
        lineOf[b.State] = lineNo;
        t[b.State] = b.Keys;
    }
    if (LineOf) *LineOf = lineOf;
    return t;
}

std::string FormatKeyBinding(int32_t State, const std::array<uint16_t, 3>& Keys) {
    std::string s = KeySlotName(State) + " =";
    bool first = true;
    for (uint16_t k : Keys) {
        if (k == keys::None) continue;
        s += first ? " " : ", ";
        s += KeyName(k);
        first = false;
    }
    return s;
}

std::string FormatKeyConfig(const TKeyAssignment& Table) {
    std::string s =
        "# Kalvento's keys: one line a state, \"state = key, key, key\" (up to three keys).\n"
        "# States: up down left right shot bomb slow, and button1 to button32 (shot, bomb and slow\n"
        "# are button1 to button3; the game reads only these seven), and rewind, the key that runs a\n"
        "# practice game backwards while it is held. A state that is not listed keeps\n"
        "# its default keys; \"state =\" with nothing after it leaves the state without a key.\n"
        "# Keys are scancodes: they stay in place whatever the keyboard layout. Write SDL's key names\n"
        "# (A, Up, Keypad 8, Space, Return, Left Ctrl, F2 ...; Shift is either shift key) or #NN for\n"
        "# any scancode number. kalvento --keys shows the table in use; kalvento --bind shot=Z,Space\n"
        "# changes one line and keeps the old file as keys.conf.bak.\n";
    return s + FormatKeyLines(Table);
}

std::string FormatKeyLines(const TKeyAssignment& Table) {
    std::string s;
    const TKeyAssignment defaults = DefaultKeyAssignment();
    auto hasKey = [](const std::array<uint16_t, 3>& k) {
        return std::any_of(k.begin(), k.end(), [](uint16_t c) { return c != keys::None; });
    };
    for (int32_t st = 0; st < KeySlotCount; ++st)
        if (st <= isButton3 || st == ksRewind || hasKey(Table[st]) || hasKey(defaults[st]))
            s += FormatKeyBinding(st, Table[st]) + "\n";
    return s;
}

std::string RebindKeyConfig(std::string_view Text, const std::string& FileName, const TKeyBinding& Binding) {
    std::array<int32_t, KeySlotCount> lineOf{};
    ParseKeyConfig(Text, FileName, &lineOf);
    const std::string line = FormatKeyBinding(Binding.State, Binding.Keys);
    if (!lineOf[Binding.State]) {
        std::string out(Text);
        if (!out.empty() && out.back() != '\n') out += '\n';
        return out + line + "\n";
    }
    std::string out;
    int32_t lineNo = 0;
    while (true) {
        const size_t nl = Text.find('\n');
        std::string_view piece = Text.substr(0, nl);
        ++lineNo;
        if (lineNo == lineOf[Binding.State]) {
            const bool cr = !piece.empty() && piece.back() == '\r';
            out += line;
            if (cr) out += '\r';
        } else {
            out += piece;
        }
        if (nl == std::string_view::npos) break;
        out += '\n';
        Text.remove_prefix(nl + 1);
    }
    return out;
}

}  // namespace kv
