#include "ui/NamePicker.h"

#include "engine/Widgets.h"
#include "i18n/Tr.h"

namespace kv::ui {

std::string DropLastChar(const std::string& Utf8) {
    size_t n = Utf8.size();
    while (n > 0 && (static_cast<unsigned char>(Utf8[n - 1]) & 0xC0) == 0x80) --n;  // continuation bytes
    return Utf8.substr(0, n > 0 ? n - 1 : 0);
}

namespace {

constexpr int32_t Columns = 13;
const char* const kRows[] = {
    "ABCDEFGHIJKLM", "NOPQRSTUVWXYZ", "abcdefghijklm", "nopqrstuvwxyz", "0123456789.-!",
    "アイウエオカキクケコサシス", "セソタチツテトナニヌネノー",
};

// The characters of a UTF-8 row.
std::vector<std::string> Chars(const std::string& Row) {
    std::vector<std::string> out;
    for (size_t i = 0; i < Row.size();) {
        const unsigned char c = static_cast<unsigned char>(Row[i]);
        const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : 4;
        out.push_back(Row.substr(i, n));
        i += n;
    }
    return out;
}

class TNamePicker : public TWindow {
public:
    TNamePicker(IUiContext& U, TEdit& Field) : TWindow(U), Field_(Field) {
        Menu.Title = Field.Name == "Edit1" ? N_("名前") : N_("コメント");
        Menu.Layout = TMenu::Grid;
        Menu.Columns = Columns;
        Menu.OnBack = [this] { Set(DropLastChar(Field_.Text)); };
        int32_t row = 0;
        for (const char* r : kRows) {
            int32_t col = 0;
            for (const std::string& ch : Chars(r)) {
                TEntry& e = Menu.Entries.emplace_back();
                e.Label = ch;
                e.Row = row;
                e.Col = col++;
                e.OnPress = [this, ch] { Set(Field_.Text + ch); };
            }
            ++row;
        }
        auto wide = [&](const char* label, int32_t col, int32_t span, std::function<void()> f) {
            TEntry& e = Menu.Entries.emplace_back();
            e.Label = label;
            e.Row = row;
            e.Col = col;
            e.Span = span;
            e.OnPress = std::move(f);
        };
        wide(N_("空白"), 0, 4, [this] { Set(Field_.Text + " "); });
        wide(N_("削除"), 4, 4, [this] { Set(DropLastChar(Field_.Text)); });
        wide(N_("決定"), 8, 5, [this] { Ui.Close(this); });
    }
    void Refresh() override {
        Menu.Status = Field_.Text.empty() ? i18n::Tr("（空）") : Field_.Text;
        Menu.StatusAsTyped = true;
    }

private:
    void Set(const std::string& Text) {
        if (Text != Field_.Text) Ui.Actions().Type(Field_.Name, Text);
    }
    TEdit& Field_;
};

}  // namespace

std::unique_ptr<TWindow> MakeNamePicker(IUiContext& Ui, TEdit& Field) { return std::make_unique<TNamePicker>(Ui, Field); }

}  // namespace kv::ui
