// The high-score record in Score.dtf, the score display and the name entry.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "engine/Errors.h"
#include "engine/FileReplace.h"
#include "shell/Form1.h"
#include "shell/ScoreFile.h"
#include "shell/ShiftJis.h"
#include "i18n/Tr.h"

namespace kv {

namespace {

// What this window knows about the record file beyond its lines.
struct TScoreFileState {
    bool Loaded = false;   // Load has read the file (or found none): Save may write it
    bool Damaged = false;  // the file on disk could not be read in full: keep a copy before Save
    // A replay's record: what its Saves wrote, for its Loads to read back.
    bool InMemory = false;
    std::string Memory;
};

std::string SystemError(int Err) { return std::strerror(Err); }

// Whole file as bytes; false with errno set when it cannot be opened or read.
bool ReadBytes(const std::string& Path, std::string& Out) {
    int fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st{};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return false;
    }
    Out.clear();
    char buf[4096];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            errno = err;
            return false;
        }
        if (n == 0) break;
        Out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

// The record's folder in the player's data folder may not be there before the first save.
void MakeFolders(const std::string& Path) {
    const std::filesystem::path folder = std::filesystem::path(Path).parent_path();
    if (folder.empty()) return;  // a bare name: the current folder
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw EStreamError(i18n::Format(N_("%s に書き込めません: %s"), {Path, ec.message()}));
}

// Replaces Path with Bytes in one step, the old contents whole until the new ones are.
void ReplaceFile(const std::string& Path, const std::string& Bytes) {
    MakeFolders(Path);
    try {
        ReplaceFileAtomically(Path, Bytes);
    } catch (const EFileReplaceError& e) {
        throw EStreamError(i18n::Format(N_("%s に書き込めません: %s"), {Path, e.Reason}));
    }
}

}  // namespace

void TForm1::Load() {
    TScoreFileState& state = Vars<TScoreFileState>();
    const std::string path = ScorePath();
    std::string bytes;
    // A replay's record starts as the replay gives it and never touches the player's file.
    if (WatchingReplay) {
        if (!state.InMemory) return;
        bytes = state.Memory;
    } else if (!ReadBytes(path, bytes)) {
        int err = errno;
        if (err != ENOENT) {
            state.Loaded = false;
            throw EFOpenError(i18n::Format(N_("ファイル %s を開けません: %s"), {path, SystemError(err)}));
        }
        // First start: an empty record, written in full by the first Save.
        ScoreLines.clear();
        HighScoreName.clear();
        HighScore = 0;
        HighScoreComment.clear();
        ExtraOpen = 0;
        state.Loaded = true;
        state.Damaged = false;
        return;
    }
    state.Loaded = true;
    state.Damaged = true;  // until every line has been read
    TScoreRecord record;
    record.Name = HighScoreName;
    record.Score = HighScore;
    record.Comment = HighScoreComment;
    record.ExtraOpen = ExtraOpen;
    // What was readable stays, also when the rest of the file is not.
    auto take = [&] {
        ScoreLines = std::move(record.Lines);
        HighScoreName = std::move(record.Name);
        HighScore = record.Score;
        HighScoreComment = std::move(record.Comment);
        ExtraOpen = record.ExtraOpen;
    };
    try {
        ParseScoreFile(bytes, path, record);
    } catch (...) {
        take();
        throw;
    }
    take();
    state.Damaged = false;
}

void TForm1::Save() {
    TScoreFileState& state = Vars<TScoreFileState>();
    const std::string path = ScorePath();
    if (!state.Loaded && !WatchingReplay)
        throw EStreamError(i18n::Format(N_("%s はまだ読み込まれていないため、上書きしません"), {path}));
    TScoreRecord record;
    record.Lines = std::move(ScoreLines);
    record.Name = HighScoreName;
    record.Score = HighScore;
    record.Comment = HighScoreComment;
    record.ExtraOpen = ExtraOpen;
    try {
        ScoreLines = ScoreFileLines(record, path);
    } catch (...) {
        ScoreLines = std::move(record.Lines);  // nothing written: the lines stay as they were
        throw;
    }
    const std::string bytes = FormatScoreFile(ScoreLines);
    // An old game shown again must not put its record over the player's newer one.
    if (WatchingReplay) {
        state.Memory = bytes;
        state.InMemory = true;
        return;
    }
    if (state.Damaged) {
        // Keep what the player had before the damaged file is replaced.
        std::string old;
        if (ReadBytes(path, old)) ReplaceFile(path + ".bak", old);
    }
    ReplaceFile(path, bytes);
    state.Damaged = false;
}

void TForm1::Button4Click() {
    PlaySound("Pingpong");
    if (!Dialogs) return;
    Dialogs->ShowMessage("Kalvento", i18n::Format(N_("最高記録：%sさんの%d点"), {HighScoreName, std::to_string(HighScore)}));
    Dialogs->ShowMessage("Kalvento", i18n::Format(N_("%sさんのコメント：%s"), {HighScoreName, HighScoreComment}));
}

void TForm1::EditShow() {
    NameEntry = true;
    Edit1.Visible = true;
    Edit2.Visible = true;
    Button5.Visible = true;
    Log.Write("name_entry", {{"score", int64_t{Score}}});
}

void TForm1::EditHide() {
    NameEntry = false;
    // Whatever reached the fields, the record keeps one line per text.
    HighScoreName = KeepShiftJisText(Edit1.Text);
    HighScoreComment = KeepShiftJisText(Edit2.Text);
    Edit1.Visible = false;
    Edit2.Visible = false;
    Button5.Visible = false;
}

void TForm1::Button5Click() {
    EditHide();
    // A record that cannot be written is reported, but the player is not left without controls.
    Handle([this] { Save(); });
    Shokika();
    Load();
}

}  // namespace kv
