#include "platform/vb/runtime_error.h"

namespace vb {

std::string DefaultDescription(int number) {
    switch (number) {
    case err::InvalidCall: return "Invalid procedure call or argument";
    case err::Overflow: return "Overflow";
    case err::SubscriptOutOfRange: return "Subscript out of range";
    case err::TypeMismatch: return "Type mismatch";
    case err::FileNotFound: return "File not found";
    case err::ObjectNotSet: return "Object variable or With block variable not set";
    case err::ControlArrayElementMissing: return "Control array element doesn't exist";
    case err::CannotCreateObject: return "ActiveX component can't create object";
    case err::ApplicationDefined: return "Application-defined or object-defined error";
    default: return {};
    }
}

namespace {
std::string What(int number, const std::string& description) {
    return "Run-time error '" + std::to_string(number) + "': " + description;
}
}  // namespace

RuntimeError::RuntimeError(int number, std::string source, std::string description)
    : std::runtime_error(What(number, description.empty() ? DefaultDescription(number) : description)),
      number_(number),
      source_(std::move(source)),
      description_(description.empty() ? DefaultDescription(number) : std::move(description)) {}

void Raise(int number, std::string source, std::string description) {
    throw RuntimeError(number, std::move(source), std::move(description));
}

}  // namespace vb
