#include "cli/OptionRules.h"

#include <string_view>
#include <utility>

namespace quillprint::cli {

namespace {

using TPair = std::pair<std::string_view, std::string_view>;

// Options that cannot be combined. --copies, --validation-report, --each,
// --cross-validate, --confidence, --read-only, --report and --extract each
// print an output of their own; the options of one output mean nothing to
// another. "--json" stands for --json-full too.
constexpr TPair kConflicts[] = {
    {"--validation", "--validation-report"},
    {"--copies", "--without-copies"},
    // The outputs of their own, among themselves.
    {"--copies", "--validation-report"},
    {"--copies", "--each"},
    {"--copies", "--cross-validate"},
    {"--copies", "--confidence"},
    {"--copies", "--read-only"},
    {"--copies", "--report"},
    {"--extract", "--copies"},
    {"--validation-report", "--each"},
    {"--cross-validate", "--validation-report"},
    {"--confidence", "--validation-report"},
    {"--validation-report", "--read-only"},
    {"--extract", "--validation-report"},
    {"--cross-validate", "--each"},
    {"--each", "--read-only"},
    {"--extract", "--each"},
    {"--cross-validate", "--confidence"},
    {"--cross-validate", "--read-only"},
    {"--extract", "--cross-validate"},
    {"--confidence", "--read-only"},
    {"--extract", "--confidence"},
    {"--report", "--read-only"},
    {"--extract", "--read-only"},
    {"--extract", "--report"},
    // A single validation run is a calculation's own.
    {"--validation", "--copies"},
    {"--validation", "--each"},
    {"--cross-validate", "--validation"},
    {"--confidence", "--validation"},
    {"--validation", "--read-only"},
    {"--report", "--validation"},
    {"--extract", "--validation"},
    // How a calculation is printed.
    {"--json", "--summary"},
    {"--json", "--table"},
    {"--summary", "--table"},
    {"--copies", "--json"},
    {"--copies", "--summary"},
    {"--copies", "--table"},
    {"--validation-report", "--json"},
    {"--validation-report", "--summary"},
    {"--validation-report", "--table"},
    {"--each", "--summary"},
    {"--each", "--table"},
    {"--each", "--json-full"},
    {"--cross-validate", "--summary"},
    {"--cross-validate", "--table"},
    {"--cross-validate", "--json-full"},
    {"--confidence", "--summary"},
    {"--confidence", "--table"},
    {"--read-only", "--json"},
    {"--read-only", "--summary"},
    {"--read-only", "--table"},
    {"--report", "--json"},
    {"--report", "--summary"},
    {"--report", "--table"},
    {"--report", "--shard"},
    {"--report", "--no-header"},
    // The report's cross-validation is the window's, with its seed and threshold.
    {"--report", "--seed"},
    {"--report", "--threshold"},
    {"--extract", "--json"},
    {"--extract", "--summary"},
    {"--extract", "--table"},
    {"--json", "--no-header"},
    // What is calculated.
    {"--copies", "--balance"},
    {"--read-only", "--balance"},
    {"--read-only", "--without-copies"},
    {"--extract", "--balance"},
    {"--extract", "--without-copies"},
    {"--extract", "--split-words"},
    {"--extract", "--jobs"},
    {"--extract", "--follow-links"},
};

// Options that mean something only beside another.
struct TNeed {
    std::string_view Option;
    std::string_view Needs;  // as the message names it
    bool (*Met)(const TCliOptions&);
};

constexpr TNeed kNeeds[] = {
    {"--participants", "--extract CHAT_FILE", [](const TCliOptions& o) { return !o.ExtractFile.empty(); }},
    {"--into", "--extract CHAT_FILE", [](const TCliOptions& o) { return !o.ExtractFile.empty(); }},
    {"--unknown", "--into DIR", [](const TCliOptions& o) { return !o.IntoDir.empty(); }},
    {"--shard", "--each", [](const TCliOptions& o) { return o.EachText; }},
    {"--no-header", "--each", [](const TCliOptions& o) { return o.EachText; }},
    {"--author", "--table stylometry", [](const TCliOptions& o) { return o.Table == TTable::Stylometry; }},
    {"--copy-words", "--copies or --without-copies", [](const TCliOptions& o) { return o.Copies || o.WithoutCopies; }},
    {"--excerpt", "--cross-validate or --confidence",
     [](const TCliOptions& o) { return o.CrossValidate || o.Confidence; }},
    {"--seed", "--cross-validate or --confidence",
     [](const TCliOptions& o) { return o.CrossValidate || o.Confidence; }},
    {"--threshold", "--confidence", [](const TCliOptions& o) { return o.Confidence; }},
    {"--all-candidates", "--validation-report", [](const TCliOptions& o) { return o.ValidationReport; }},
};

}  // namespace

std::string BrokenOptionRule(const TCliOptions& options, const std::set<std::string>& given) {
    // The name as typed: "--json" matches --json-full too.
    const auto typed = [&given](std::string_view name) -> std::string {
        if (given.contains(std::string(name))) return std::string(name);
        if (name == "--json" && given.contains("--json-full")) return "--json-full";
        return {};
    };
    for (const TNeed& need : kNeeds)
        if (given.contains(std::string(need.Option)) && !need.Met(options))
            return std::string(need.Option) + " needs " + std::string(need.Needs);
    for (const auto& [first, second] : kConflicts) {
        const std::string a = typed(first), b = typed(second);
        if (!a.empty() && !b.empty() && a != b) return a + " and " + b + " cannot be combined";
    }
    return {};
}

}  // namespace quillprint::cli
