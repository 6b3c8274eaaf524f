// ini_profile_store.cpp: reading and rewriting the portable INI profile file.
#include "state/ini_profile_store.h"

#include <algorithm>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "common/text/code_page.h"

namespace quirn {
namespace {

// The file as lines of wide text, with what is needed to write it back the same way.
struct IniFile {
    std::vector<std::wstring> lines;  // without line endings
    unsigned code_page = lumora::kCodePageUtf8;
    bool byte_order_mark = false;
    std::wstring newline = L"\r\n";
};

constexpr const wchar_t* kBlanks = L" \t\r\v\f";
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

std::wstring Trim(const std::wstring& text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) {
            return false;
        }
    }
    return true;
}

// The section name when `line` is a section header.
std::optional<std::wstring> SectionOf(const std::wstring& line) {
    const std::wstring trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != L'[') {
        return std::nullopt;
    }
    return Trim(trimmed.substr(1, trimmed.find(L']') - 1));
}

// The key name when `line` is a "key=value" line.
std::optional<std::wstring> KeyOf(const std::wstring& line) {
    const std::wstring trimmed = Trim(line);
    const auto equals = trimmed.find(L'=');
    if (trimmed.empty() || trimmed[0] == L';' || trimmed[0] == L'[' ||
        equals == std::wstring::npos) {
        return std::nullopt;
    }
    return Trim(trimmed.substr(0, equals));
}

std::wstring ValueOf(const std::wstring& line) {
    std::wstring value = Trim(line.substr(line.find(L'=') + 1));
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// Lines [begin, end) of the first section named `section`; nullopt when there is none.
std::optional<std::pair<size_t, size_t>> FindSection(const IniFile& file,
                                                     const std::wstring& section) {
    for (size_t i = 0; i < file.lines.size(); ++i) {
        const auto name = SectionOf(file.lines[i]);
        if (name && SameName(*name, section)) {
            size_t end = i + 1;
            while (end < file.lines.size() && !SectionOf(file.lines[end])) {
                ++end;
            }
            return std::make_pair(i + 1, end);
        }
    }
    return std::nullopt;
}

// Index of the first line in [begin, end) that holds `key`; `end` when none does.
size_t FindKey(const IniFile& file, size_t begin, size_t end, const std::wstring& key) {
    for (size_t i = begin; i < end; ++i) {
        const auto name = KeyOf(file.lines[i]);
        if (name && SameName(*name, key)) {
            return i;
        }
    }
    return end;
}

std::optional<std::wstring> Decode(const std::string& bytes, unsigned code_page) {
    try {
        return lumora::NarrowToWide(bytes.c_str(), code_page);
    } catch (const lumora::ConversionError&) {
        return std::nullopt;
    }
}

// The file's lines; an empty file when it does not exist; nullopt when it exists but cannot be
// read or decoded, so that a write does not replace what it could not see.
std::optional<IniFile> LoadIni(const std::filesystem::path& path) {
    IniFile file;
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return file;
    }
    if (error || !std::filesystem::is_regular_file(status)) {
        return std::nullopt;
    }
    std::string bytes;
    try {
        std::ifstream stream(path, std::ios::binary);
        if (!stream) {
            return std::nullopt;
        }
        bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
        if (stream.bad()) {
            return std::nullopt;
        }
    } catch (const std::ios_base::failure&) {
        return std::nullopt;
    }
    // A NUL would end the text early; such a file is no profile this store can rewrite.
    if (bytes.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    if (bytes.rfind(kUtf8Bom, 0) == 0) {
        file.byte_order_mark = true;
        bytes.erase(0, 3);
    }
    std::optional<std::wstring> text = Decode(bytes, lumora::kCodePageUtf8);
    if (!text && !file.byte_order_mark) {
        file.code_page = lumora::kCodePageCp932;
        text = Decode(bytes, file.code_page);
    }
    if (!text) {
        return std::nullopt;
    }
    if (text->find(L'\n') != std::wstring::npos && text->find(L"\r\n") == std::wstring::npos) {
        file.newline = L"\n";
    }
    size_t start = 0;
    while (start < text->size()) {
        size_t end = text->find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text->size();
        }
        std::wstring line = text->substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        file.lines.push_back(std::move(line));
        start = end + 1;
    }
    return file;
}

bool SaveIni(const std::filesystem::path& path, const IniFile& file) {
    std::wstring text;
    for (const std::wstring& line : file.lines) {
        text += line;
        text += file.newline;
    }
    std::optional<std::string> bytes;
    try {
        bytes = lumora::WideToNarrow(text.c_str(), file.code_page);
    } catch (const lumora::ConversionError&) {
        return false;  // a value the file's code page cannot hold
    }
    // A file in code page 932 is told from UTF-8 only by bytes UTF-8 cannot hold. If the new
    // text lost them, its other bytes would read back as UTF-8, as other characters: refuse.
    const bool non_ascii = std::any_of(
        bytes->begin(), bytes->end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (file.code_page != lumora::kCodePageUtf8 && non_ascii &&
        Decode(*bytes, lumora::kCodePageUtf8)) {
        return false;
    }
    if (file.byte_order_mark) {
        bytes->insert(0, kUtf8Bom);
    }
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        stream.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
        stream.close();
        if (!stream) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    // The profile may hold the administrator password: keep the file's permissions.
    const auto status = std::filesystem::status(path, error);
    if (!error && std::filesystem::exists(status)) {
        std::filesystem::permissions(temporary, status.permissions(), error);
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

bool HasLineBreak(const std::wstring& text) {
    return text.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos;
}

}  // namespace

bool IniProfileStore::IsReadable() const {
    std::error_code error;
    return std::filesystem::exists(path_, error) && LoadIni(path_).has_value();
}

std::wstring IniProfileStore::Read(const std::wstring& section, const std::wstring& key,
                                   const std::wstring& default_value) {
    const std::optional<IniFile> file = LoadIni(path_);
    if (!file) {
        return default_value;
    }
    const auto range = FindSection(*file, section);
    if (!range) {
        return default_value;
    }
    const size_t line = FindKey(*file, range->first, range->second, key);
    return line == range->second ? default_value : ValueOf(file->lines[line]);
}

bool IniProfileStore::Write(const std::wstring& section, const std::wstring& key,
                            const std::wstring& value) {
    const std::wstring section_name = Trim(section);
    const std::wstring key_name = Trim(key);
    if (section_name.empty() || key_name.empty() || HasLineBreak(section) || HasLineBreak(key) ||
        HasLineBreak(value) || section.find(L']') != std::wstring::npos ||
        key.find(L'=') != std::wstring::npos || key_name[0] == L';' || key_name[0] == L'[') {
        return false;
    }
    std::optional<IniFile> file = LoadIni(path_);
    if (!file) {
        return false;
    }
    const std::wstring entry = key_name + L"=" + value;
    if (const auto range = FindSection(*file, section_name)) {
        const size_t line = FindKey(*file, range->first, range->second, key_name);
        if (line != range->second) {
            file->lines[line] = entry;
        } else {
            // A new key goes after the section's last non-blank line, before any gap.
            size_t insert_at = range->second;
            while (insert_at > range->first && Trim(file->lines[insert_at - 1]).empty()) {
                --insert_at;
            }
            file->lines.insert(file->lines.begin() + static_cast<std::ptrdiff_t>(insert_at), entry);
        }
    } else {
        file->lines.push_back(L"[" + section_name + L"]");
        file->lines.push_back(entry);
    }
    return SaveIni(path_, *file);
}

}  // namespace quirn
