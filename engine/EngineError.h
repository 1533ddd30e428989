// Errors the engine raises; they end the calculation and reach its caller.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace quillprint {

struct TRefusedRun;

// The texts share a verbatim passage too long to compare phrase by phrase.
// what() is UTF-8 text meant for the user.
class TPassageTooLongError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    TPassageTooLongError(const std::string& what, std::shared_ptr<const TRefusedRun> details)
        : std::runtime_error(what), FDetails(std::move(details)) {}

    // What made the run exceed the budget, for a caller that words the
    // message with the places of the passages (PhraseBudgetReport.h).
    const std::shared_ptr<const TRefusedRun>& Details() const { return FDetails; }

private:
    std::shared_ptr<const TRefusedRun> FDetails;
};

// The user cancelled the calculation before it ended. Whatever the run had
// built is discarded; the results shown before it stay.
class TCalculationCancelled : public std::runtime_error {
public:
    TCalculationCancelled() : std::runtime_error("Calculation cancelled") {}
};

}  // namespace quillprint
