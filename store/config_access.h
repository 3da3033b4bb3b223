#pragma once
// What the clock reads and writes of its settings, apart from where they are
// kept: the core services implement it over the settings file, tests over memory.
// The names keep the interface of the maker's core services library.
#include <cstdint>
#include <string>

namespace tallyglass {

class ConfigAccess {
public:
    virtual bool getConfigB(const char* key) const = 0;
    virtual int32_t getConfigInt(const char* key) const = 0;
    virtual std::string getConfigStr(const char* key) const = 0;
    // The colour a text names; the key's default colour when the text does not parse.
    virtual uint32_t getColor(const std::string& text, const char* key) const = 0;
    virtual void saveConfigB(const char* key, bool value) = 0;
    virtual void saveConfigInt(const char* key, int32_t value) = 0;

protected:
    ~ConfigAccess() = default;
};

}  // namespace tallyglass
