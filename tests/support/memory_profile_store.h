// memory_profile_store.h: a profile store in memory that records what was read and written, and
// can be told to refuse one key's writes.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "state/profile_store.h"

namespace quirn::testing_fakes {

class MemoryProfileStore : public ProfileStore {
  public:
    using Key = std::pair<std::wstring, std::wstring>;  // section, key

    std::wstring Read(const std::wstring& section, const std::wstring& key,
                      const std::wstring& default_value) override {
        log.push_back(L"read " + section + L"/" + key);
        auto found = values.find({section, key});
        return found == values.end() ? default_value : found->second;
    }
    bool Write(const std::wstring& section, const std::wstring& key,
               const std::wstring& value) override {
        log.push_back(L"write " + section + L"/" + key + L"=" + value);
        ++writes;
        if (key == failing_key) {
            return false;
        }
        values[{section, key}] = value;
        return true;
    }

    std::wstring Location() const override { return location; }

    // The entry's stored value, made empty when there is none.
    std::wstring& At(const std::wstring& section, const std::wstring& key) {
        return values[{section, key}];
    }

    std::map<Key, std::wstring> values;
    std::wstring failing_key;  // writes of this key fail (and store nothing)
    std::wstring location = L"C:\\quirn\\QuirnMobileTool.INI";
    std::vector<std::wstring> log;
    int writes = 0;  // attempted writes, failed ones included
};

}  // namespace quirn::testing_fakes
