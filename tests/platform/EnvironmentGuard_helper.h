#pragma once
// Sets environment variables for one test and restores the previous values when it ends.
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

class CEnvironmentGuard {
public:
    CEnvironmentGuard() = default;
    CEnvironmentGuard(const CEnvironmentGuard&) = delete;
    CEnvironmentGuard& operator=(const CEnvironmentGuard&) = delete;
    ~CEnvironmentGuard()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }
    void Set(const char* name, const std::string& value)
    {
        Remember(name);
        setenv(name, value.c_str(), 1);
    }
    void Unset(const char* name)
    {
        Remember(name);
        unsetenv(name);
    }

private:
    void Remember(const char* name)
    {
        if (m_saved.count(name))
            return;
        const char* value = std::getenv(name);
        m_saved[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    std::map<std::string, std::optional<std::string>> m_saved;
};
