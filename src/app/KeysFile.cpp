#include "app/KeysFile.h"

#include <iostream>
#include <stdexcept>

#include "app/UserDirs.h"
#include "engine/FileReplace.h"
#include "userfiles/KeyConfig.h"
#include "shell/Form1.h"
#include "userfiles/KeysConf.h"

namespace kv::app {

namespace fs = std::filesystem;

TPlayerKeys LoadPlayerKeys(const fs::path& Dir, bool WriteDefaults) {
    TPlayerKeys k;
    if (Dir.empty()) return k;
    const fs::path file = Dir / "keys.conf";
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        if (!WriteDefaults) return k;
        try {
            fs::create_directories(Dir);
            ReplaceFileAtomically(file.string(), FormatKeyConfig(k.Keys));
        } catch (const std::exception& e) {
            k.Warning = std::string("the default keys were not saved: ") + e.what();
        }
        return k;
    }
    std::string text;
    if (const std::string problem = ReadPlayerFile(file.string(), MaxKeyConfigBytes, text); !problem.empty()) {
        k.Error = file.string() + ": " + problem + "; the default keys are used";
        return k;
    }
    try {
        k.Keys = ParseKeyConfig(text, file.string());
        k.File = file;
    } catch (const EKeyConfigError& e) {
        k.Error = std::string(e.what()) + "; the default keys are used";
    }
    return k;
}

void ReportPlayerKeys(const TPlayerKeys& K, TForm1& Form) {
    if (!K.Warning.empty()) std::cerr << "kalvento: " << K.Warning << "\n";
    if (K.Error.empty()) return;
    std::cerr << "kalvento: " << K.Error << "\n";
    Form.Log.Write("error", {{"message", K.Error}});
}

namespace {

void PrintTable(const TPlayerKeys& K, const fs::path& Dir, std::ostream& Out) {
    if (!K.File.empty())
        Out << "Keys from " << K.File.string() << ":\n";
    else if (!K.Error.empty())
        Out << "Keys: defaults (" << (Dir / "keys.conf").string() << " is not usable):\n";
    else
        Out << "Keys: defaults (no " << (Dir / "keys.conf").string() << "):\n";
    Out << FormatKeyLines(K.Keys);
}

}  // namespace

int RunKeysCommand(const TOptions& O, std::ostream& Out, std::ostream& Err) {
    const fs::path dir = ConfigDir();
    if (dir.empty()) {
        Err << "kalvento: no configuration folder: set HOME or XDG_CONFIG_HOME\n";
        return 1;
    }
    if (O.Bind.empty()) {
        const TPlayerKeys k = LoadPlayerKeys(dir, false);
        if (!k.Error.empty()) Err << "kalvento: " << k.Error << "\n";
        PrintTable(k, dir, Out);
        return 0;
    }
    std::vector<TKeyBinding> bindings;
    try {
        for (const std::string& b : O.Bind) bindings.push_back(ParseKeyBinding(b, "--bind " + b));
    } catch (const EKeyConfigError& e) {
        Err << "kalvento: " << e.what() << "\n";
        return 2;
    }
    try {
        userfiles::WriteKeyBindings(dir / "keys.conf", bindings, false);
    } catch (const EKeyConfigError& e) {
        Err << "kalvento: " << e.what() << "; nothing was changed (correct the file or remove it)\n";
        return 1;
    } catch (const std::exception& e) {
        Err << "kalvento: " << e.what() << "\n";
        return 1;
    }
    const TPlayerKeys k = LoadPlayerKeys(dir, false);
    PrintTable(k, dir, Out);
    return k.Error.empty() ? 0 : 1;
}

}  // namespace kv::app
