#pragma once
// The player's language. The game's own texts are the message ids of one gettext catalogue;
// Japanese is the untranslated game. Only what is shown is looked up here: the state, the
// event log, the record and the replays keep the ids.
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

// Marks a text for the catalogue template where it is stored as it is and looked up later.
#define N_(text) text

namespace kv::i18n {

// "auto", "ja" or "en" (or any language a catalogue exists for).
// Whether Code names a language this build can show.
bool KnownLanguage(const std::string& Code);

// The language a desktop asks for, from gettext's variables (LANGUAGE, then the first of
// LC_ALL, LC_MESSAGES, LANG), read here so that an uninstalled locale still counts: "ja" for
// Japanese and the C locale, "en" for every other language without a catalogue of its own.
// Getenv returns nullptr for an unset variable.
std::string DesktopLanguage(const std::function<const char*(const char*)>& Getenv);

// Where the compiled catalogues are (LOCALEDIR/LANG/LC_MESSAGES/kalvento.mo).
void SetLocaleDir(const std::string& Dir);
// Shows Code ("auto": the desktop's). Returns "" or why its catalogue could not be used, in
// which case the game shows its own texts.
std::string SetLanguage(const std::string& Code);
// The language shown now ("ja", "en", …).
const std::string& Language();

// The shown text for a message id: its translation, else the id itself. A text made from a
// format id (Format below) is matched against the catalogue's formats and its pieces put into
// the translation.
std::string Tr(std::string_view Id);

// Fills the %s and %d of a format id (or a translation's %N$s) with Args in order.
std::string Format(std::string_view Fmt, std::initializer_list<std::string> Args);

}  // namespace kv::i18n
