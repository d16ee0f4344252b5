// Runtime errors with VB's numbers: handlers tell failures apart by number.
#pragma once

#include <stdexcept>
#include <string>

namespace vb {

namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int ObjectNotSet = 91;
inline constexpr int ControlArrayElementMissing = 340;
inline constexpr int CannotCreateObject = 429;
inline constexpr int ApplicationDefined = 1004;
}  // namespace err

class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, std::string source = {}, std::string description = {});

    int Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }

private:
    int number_;
    std::string source_;
    std::string description_;
};

// VB's own text for an error number ("Type mismatch" for 13); empty when unknown.
std::string DefaultDescription(int number);

[[noreturn]] void Raise(int number, std::string source = {}, std::string description = {});

}  // namespace vb
