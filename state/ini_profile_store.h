// ini_profile_store.h: the profile kept in a portable INI file, behaving as the Windows profile
// API does.
//
// Lines "[section]" open a section and "key=value" lines hold values; section and key names are
// trimmed and compare without regard to case, values are trimmed and lose one pair of enclosing
// quotes, and lines starting with ";" are comments. The first of two equal sections or keys wins.
// The file is read as UTF-8 (a byte-order mark allowed) or, failing that, in code page 932 as the
// Windows program writes it, and a write keeps the file's encoding and line endings; a new file
// is UTF-8 with CRLF line endings, like the Windows profile file.
#pragma once

#include <filesystem>
#include <string>

#include "state/profile_store.h"

namespace quirn {

class IniProfileStore : public ProfileStore {
  public:
    explicit IniProfileStore(std::filesystem::path path) : path_(std::move(path)) {}

    // A file that cannot be opened or decoded reads as missing.
    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& default_value) override;

    // Rewrites the whole file through a temporary file beside it, so a failure leaves the old
    // file intact. Refuses (false) names or values holding a line break, section names holding
    // "]" and key names holding "=" or starting with ";" or "[", a value the file's encoding
    // cannot hold, a rewrite of a code page 932 file whose bytes would then read as UTF-8 (other
    // characters), and an existing file that cannot be read.
    bool Write(const std::wstring& section, const std::wstring& key,
               const std::wstring& value) override;

    // True when the file exists and can be read and decoded, so that a read sees its values.
    bool IsReadable() const;

    const std::filesystem::path& path() const { return path_; }
    std::wstring Location() const override { return path_.wstring(); }

  private:
    std::filesystem::path path_;
};

}  // namespace quirn
