// The high-score record in Score.dtf, the score display and the name entry.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "engine/Errors.h"
#include "shell/Form1.h"
#include "shell/ShiftJis.h"

namespace kv {

namespace {

// What this window knows about the record file beyond its lines.
struct TScoreFileState {
    bool Loaded = false;   // Load has read the file (or found none): Save may write it
    bool Damaged = false;  // the file on disk could not be read in full: keep a copy before Save
};

const char* const kScoreFile = "Score.dtf";

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

// Replaces Path with Bytes in one step: a temporary file beside it is written, flushed to the
// disk and renamed over it, so the old contents stay whole until the new ones are.
void ReplaceFile(const std::string& Path, const std::string& Bytes) {
    std::string tmp = Path + ".XXXXXX";
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) throw EStreamError(Path + " に書き込めません: " + SystemError(errno));
    tmp = name.data();
    auto fail = [&](int Err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw EStreamError(Path + " に書き込めません: " + SystemError(Err));
    };
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

// A line ends at CR LF, a lone CR, a lone LF or a NUL; a final break adds no empty line.
std::vector<std::string> SplitScoreLines(const std::string& Bytes) {
    std::vector<std::string> lines;
    std::string line;
    size_t i = 0;
    while (i < Bytes.size()) {
        char c = Bytes[i];
        if (c == '\r' || c == '\n' || c == '\0') {
            lines.push_back(line);
            line.clear();
            i += (c == '\r' && i + 1 < Bytes.size() && Bytes[i + 1] == '\n') ? 2 : 1;
        } else {
            line += c;
            ++i;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// A 32-bit signed decimal integer, optionally signed, with spaces around it allowed.
bool ParseScoreInteger(const std::string& Text, int32_t& Value) {
    size_t i = 0, n = Text.size();
    while (i < n && (Text[i] == ' ' || Text[i] == '\t')) ++i;
    while (n > i && (Text[n - 1] == ' ' || Text[n - 1] == '\t')) --n;
    bool negative = false;
    if (i < n && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
    if (i == n) return false;
    int64_t v = 0;
    for (; i < n; ++i) {
        if (Text[i] < '0' || Text[i] > '9') return false;
        v = v * 10 + (Text[i] - '0');
        if (v > int64_t{INT32_MAX} + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return false;
    Value = static_cast<int32_t>(v);
    return true;
}

}  // namespace

void TForm1::Load() {
    TScoreFileState& state = Vars<TScoreFileState>();
    const std::string path = DataPath(kScoreFile);
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
    std::vector<std::string> raw = SplitScoreLines(bytes);
    ScoreLines.clear();
    state.Loaded = true;
    state.Damaged = true;  // until every line has been read
    // Lines are taken up to the first one that is not Shift-JIS text.
    const size_t kNone = static_cast<size_t>(-1);
    size_t badText = kNone;
    for (size_t i = 0; i < raw.size() && badText == kNone; ++i) {
        if (std::optional<std::string> text = ShiftJisToUtf8(raw[i]))
            ScoreLines.push_back(*text);
        else
            badText = i;
    }
    auto lineError = [&](size_t Index) -> std::string {
        return path + " の " + std::to_string(Index + 1) + " 行目";
    };
    auto throwBadText = [&] {
        throw EConvertError(lineError(badText) + "が Shift-JIS の文字として読めません");
    };
    auto line = [&](size_t Index) -> const std::string& {
        if (Index >= ScoreLines.size()) {
            if (Index == badText) throwBadText();
            throw EListError(lineError(Index) + "がありません: " + ListIndexMessage(static_cast<long>(Index)));
        }
        return ScoreLines[Index];
    };
    auto number = [&](size_t Index) {
        const std::string& text = line(Index);
        int32_t v = 0;
        if (!ParseScoreInteger(text, v))
            throw EConvertError("'" + text + "' は有効な整数値ではありません (" + lineError(Index) + ")");
        return v;
    };
    HighScoreName = line(0);
    HighScore = number(1);
    HighScoreComment = line(2);
    ExtraOpen = number(3);
    if (badText != kNone) throwBadText();
    state.Damaged = false;
}

void TForm1::Save() {
    TScoreFileState& state = Vars<TScoreFileState>();
    const std::string path = DataPath(kScoreFile);
    if (!state.Loaded)
        throw EStreamError(path + " はまだ読み込まれていないため、上書きしません");
    while (ScoreLines.size() < 4) ScoreLines.emplace_back();
    ScoreLines[0] = HighScoreName;
    ScoreLines[1] = std::to_string(HighScore);
    ScoreLines[2] = HighScoreComment;
    ScoreLines[3] = std::to_string(ExtraOpen);
    std::string bytes;
    for (size_t i = 0; i < ScoreLines.size(); ++i) {
        std::optional<std::string> sjis = Utf8ToShiftJis(ScoreLines[i]);
        if (!sjis)
            throw EConvertError(path + " の " + std::to_string(i + 1) + " 行目に Shift-JIS で書けない文字があります");
        bytes += *sjis;
        bytes += "\r\n";
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
