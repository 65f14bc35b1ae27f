#include "ui/Files.h"

#include "text/Text.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace ui {
namespace {

QString qpath(const std::string &path) { return QString::fromStdString(path); }

// Splits an INI text into lines at LF, dropping each line's CR.
std::vector<std::string> iniLines(std::string_view ini) {
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < ini.size()) {
        size_t end = ini.find('\n', begin);
        if (end == std::string_view::npos)
            end = ini.size();
        std::string_view line = ini.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        begin = end + 1;
    }
    return lines;
}

bool isSectionLine(std::string_view line, std::string *name) {
    const std::string t = text::trimBlanks(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return false;
    if (name)
        *name = text::trimBlanks(std::string_view(t).substr(1, t.size() - 2));
    return true;
}

// The key of a "key=value" line, or nothing.
std::optional<std::string> keyOf(std::string_view line) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return text::trimBlanks(line.substr(0, eq));
}

} // namespace

bool fileExists(const std::string &path) { return !path.empty() && QFile::exists(qpath(path)); }

bool deleteFile(const std::string &path) { return !path.empty() && QFile::remove(qpath(path)); }

std::optional<std::string> readFile(const std::string &path) {
    QFile file(qpath(path));
    if (path.empty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes.toStdString();
}

bool writeFile(const std::string &path, std::string_view bytes) {
    if (path.empty())
        return false;
    QSaveFile file(qpath(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool setHidden(const std::string &path) {
#ifdef Q_OS_WIN
    const std::wstring wide = QString::fromStdString(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && SetFileAttributesW(wide.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
#else
    return fileExists(path);
#endif
}

std::string iniRead(const std::string &path, std::string_view section, std::string_view key,
                    std::string_view fallback) {
    const auto ini = readFile(path);
    if (!ini)
        return std::string(fallback);
    bool inSection = false;
    for (const std::string &line : iniLines(*ini)) {
        std::string name;
        if (isSectionLine(line, &name)) {
            inSection = (name == section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto k = keyOf(line); k && *k == key)
            return text::trimBlanks(std::string_view(line).substr(line.find('=') + 1));
    }
    return std::string(fallback);
}

std::string iniWithValue(std::string_view ini, std::string_view section, std::string_view key,
                         std::string_view value) {
    std::vector<std::string> lines = iniLines(ini);
    const std::string entry = std::string(key) + "=" + std::string(value);
    int sectionAt = -1;
    int insertAt = -1; // behind the last non-empty line of the section
    bool done = false;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        std::string name;
        if (isSectionLine(lines[i], &name)) {
            if (sectionAt >= 0)
                break;
            if (name == section) {
                sectionAt = static_cast<int>(i);
                insertAt = sectionAt + 1;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (const auto k = keyOf(lines[i]); k && *k == key) {
            lines[i] = entry;
            done = true;
        } else if (!text::trimBlanks(lines[i]).empty()) {
            insertAt = static_cast<int>(i) + 1;
        }
    }
    if (!done) {
        if (sectionAt < 0) {
            if (!lines.empty() && !text::trimBlanks(lines.back()).empty())
                lines.emplace_back();
            lines.push_back("[" + std::string(section) + "]");
            lines.push_back(entry);
        } else {
            lines.insert(lines.begin() + insertAt, entry);
        }
    }
    std::string out;
    for (const std::string &line : lines)
        out += line + "\r\n";
    return out;
}

bool iniWrite(const std::string &path, std::string_view section, std::string_view key, std::string_view value) {
    const std::string current = readFile(path).value_or(std::string());
    return writeFile(path, iniWithValue(current, section, key, value));
}

} // namespace ui
