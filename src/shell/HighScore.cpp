// The high-score record in Score.dtf, the score display and the name entry.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/Errors.h"
#include "shell/Form1.h"
#include "shell/ScoreFile.h"
#include "shell/ShiftJis.h"

namespace kv {

namespace {

// What this window knows about the record file beyond its lines.
struct TScoreFileState {
    bool Loaded = false;   // Load has read the file (or found none): Save may write it
    bool Damaged = false;  // the file on disk could not be read in full: keep a copy before Save
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

bool WriteAll(int Fd, const std::string& Bytes) {
    size_t done = 0;
    while (done < Bytes.size()) {
        ssize_t n = ::write(Fd, Bytes.data() + done, Bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& Path) {
    size_t slash = Path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : Path.substr(0, slash);
}

// Temporary files of a save are named after the file they replace, with this and six random
// characters after it. A save holds a lock on its temporary file until it is closed.
const char* const kSavingInfix = ".saving-";

// Temporaries older than this are not of a save still under way, whatever their lock says.
constexpr time_t kLeftoverAge = 60;

bool IsSavingName(const std::string& Entry, const std::string& Base) {
    const std::string prefix = Base + kSavingInfix;
    if (Entry.size() != prefix.size() + 6 || Entry.compare(0, prefix.size(), prefix) != 0) return false;
    for (size_t i = prefix.size(); i < Entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(Entry[i]))) return false;
    return true;
}

// Removes the temporaries that saves killed before their rename left beside Path. One is taken
// only when it is a regular file, a minute old and no live save holds its lock; the record
// itself was never touched by such a save, so nothing the player saved goes with it.
void RemoveLeftovers(const std::string& Path) {
    const std::string folder = FolderOf(Path);
    const size_t slash = Path.find_last_of('/');
    const std::string base = slash == std::string::npos ? Path : Path.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const time_t now = ::time(nullptr);
    while (const dirent* e = ::readdir(dir)) {
        const std::string entry = e->d_name;
        if (!IsSavingName(entry, base)) continue;
        const int fd = ::openat(::dirfd(dir), entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st{};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime >= kLeftoverAge &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(dir), entry.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// The record's folder in the player's data folder may not be there before the first save.
void MakeFolders(const std::string& Path) {
    std::error_code ec;
    std::filesystem::create_directories(FolderOf(Path), ec);
    if (ec) throw EStreamError(Path + " に書き込めません: " + ec.message());
}

// Replaces Path with Bytes in one step: a temporary file beside it is written, flushed to the
// disk and renamed over it, so the old contents stay whole until the new ones are.
void ReplaceFile(const std::string& Path, const std::string& Bytes) {
    MakeFolders(Path);
    RemoveLeftovers(Path);
    std::string tmp = Path + kSavingInfix + "XXXXXX";
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back('\0');
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) throw EStreamError(Path + " に書き込めません: " + SystemError(errno));
    tmp = name.data();
    auto fail = [&](int Err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw EStreamError(Path + " に書き込めません: " + SystemError(Err));
    };
    if (::flock(fd, LOCK_EX) != 0) fail(errno);
    // Keep the permissions of the file being replaced; a new file gets the usual ones.
    struct stat st{};
    mode_t mode;
    if (::stat(Path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) fail(errno);
    if (!WriteAll(fd, Bytes)) fail(errno);
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        throw EStreamError(Path + " に書き込めません: " + SystemError(err));
    }
    if (::rename(tmp.c_str(), Path.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        throw EStreamError(Path + " に書き込めません: " + SystemError(err));
    }
    int dir = ::open(FolderOf(Path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

void TForm1::Load() {
    TScoreFileState& state = Vars<TScoreFileState>();
    const std::string path = ScorePath();
    std::string bytes;
    if (!ReadBytes(path, bytes)) {
        int err = errno;
        if (err != ENOENT) {
            state.Loaded = false;
            throw EFOpenError("ファイル " + path + " を開けません: " + SystemError(err));
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
    // An old game shown again must not put its record over the player's newer one.
    if (WatchingReplay) return;
    TScoreFileState& state = Vars<TScoreFileState>();
    const std::string path = ScorePath();
    if (!state.Loaded)
        throw EStreamError(path + " はまだ読み込まれていないため、上書きしません");
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
    Dialogs->ShowMessage("Kalvento", "最高記録：" + HighScoreName + "さんの" + std::to_string(HighScore) + "点");
    Dialogs->ShowMessage("Kalvento", HighScoreName + "さんのコメント：" + HighScoreComment);
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
