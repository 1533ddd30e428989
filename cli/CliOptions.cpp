#include "cli/CliOptions.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <map>
#include <set>
#include <string_view>
#include <utility>

#include "cli/OptionRules.h"

namespace quillprint::cli {

namespace {

// A whole decimal number from 1.
template <typename Number>
bool ParseCount(std::string_view text, Number& number) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, number);
    return ec == std::errc() && ptr == end && !text.empty() && number >= 1;
}

// "K/N" with 1 <= K <= N.
bool ParseShard(std::string_view text, int32_t& index, int32_t& count) {
    const size_t slash = text.find('/');
    if (slash == std::string_view::npos) return false;
    return ParseCount(text.substr(0, slash), index) && ParseCount(text.substr(slash + 1), count) && index <= count;
}

}  // namespace

std::string UsageText() {
    // One line of the text per line of code, as printed.
    // clang-format off
    return
        "Usage: quillprint-cli [--locale NAME] [--balance] [--validation | --validation-report]\n"
        "                      [--table result|analysis|stylometry] [--author N] [--summary]\n"
        "                      [--json | --json-full] [--copies | --without-copies] [--copy-words L]\n"
        "                      [--jobs N] [--quiet] [--split-words spaces|language]\n"
        "                      [--follow-links] [--all-candidates] PROJECT_DIR\n"
        "       quillprint-cli --each [--locale NAME] [--balance] [--json] [--jobs N]\n"
        "                      [--split-words spaces|language]\n"
        "                      [--shard K/N] [--no-header] PROJECT_DIR\n"
        "       quillprint-cli --cross-validate [--excerpt W] [--seed S] [--balance]\n"
        "                      [--without-copies] [--json] [--jobs N] PROJECT_DIR\n"
        "       quillprint-cli --confidence [--threshold P] [--excerpt W] [--seed S] [--each]\n"
        "                      [--balance] [--json] [--jobs N] PROJECT_DIR\n"
        "       quillprint-cli --report FILE.pdf|FILE.html [--locale NAME] [--balance] [--each]\n"
        "                      [--validation-report | --cross-validate | --confidence]\n"
        "                      [--excerpt W] [--without-copies] [--copy-words L]\n"
        "                      [--all-candidates] [--jobs N] PROJECT_DIR\n"
        "       quillprint-cli --extract CHAT_FILE --participants\n"
        "       quillprint-cli --extract CHAT_FILE --into DIR [--unknown PARTICIPANT]\n"
        "\n"
        "Attributes the text in PROJECT_DIR/Unknown to one of the candidate authors, whose\n"
        "texts lie in the other subfolders of PROJECT_DIR, and prints one table as\n"
        "tab-separated lines (header row first). Nothing is written into PROJECT_DIR.\n"
        "\n"
        "Options:\n"
        "  --locale NAME    collation locale of the word lists, for example en_US\n"
        "                   (default: the user's locale from LC_ALL, LC_COLLATE or LANG); a\n"
        "                   locale that ICU knows neither by name nor by language is refused\n"
        "  --validation     one validation run as the window's tree holds the project: the\n"
        "                   first entry's last fifth of lines is the test text; that entry is\n"
        "                   \"Unknown\", which a validation run ignores, so the test text is\n"
        "                   empty and every score 0 (use --validation-report to test each\n"
        "                   candidate on its own held-back lines)\n"
        "  --validation-report\n"
        "                   one validation run per candidate (its last fifth of lines as the test\n"
        "                   text); prints per candidate the lines held back, the candidate ranked\n"
        "                   first, the true candidate's score and rank, then \"k of n recognised\".\n"
        "                   Each run calculates every candidate, so the time grows with the\n"
        "                   square of their number: past 50 candidates only every m-th is\n"
        "                   tested (m the smallest step that leaves at most 50), still against\n"
        "                   all of them, and a last line says so (\"Tested 50 of 1000\n"
        "                   candidates (every 20th), ...\")\n"
        "  --all-candidates with --validation-report: test every candidate, however many\n"
        "  --balance        balanced calculation: 9 draws, each on equal-size random samples of\n"
        "                   the candidates' texts (at least 5,000 words each); the result table\n"
        "                   shows the mean score and a column \"Draws won\"; analysis, stylometry\n"
        "                   and the engine of --json are the first draw's; --summary and the\n"
        "                   summary of --json give the mean scores\n"
        "  --split-words HOW\n"
        "                   spaces (default): words end at spaces, tabs and line breaks only;\n"
        "                   language: besides, every run of Han, Hiragana, Katakana, Thai, Lao,\n"
        "                   Khmer or Myanmar characters is split into the words of the locale's\n"
        "                   dictionary (ICU), as the toggle \"Split words by language\". With\n"
        "                   spaces, a project written mostly in those scripts gets a hint on\n"
        "                   standard error\n"
        "  --copies         list the passages of at least L words that the unknown text shares\n"
        "                   word for word with a candidate, one per line: candidate, its text\n"
        "                   and line, the unknown text and line, length in words, first words\n"
        "  --without-copies leave those passages out of the unknown text before calculating;\n"
        "                   the result table says how many words were left out\n"
        "  --copy-words L   shortest passage that counts as a copy (default 50)\n"
        "  --table NAME     result (default): candidates ranked by score;\n"
        "                   analysis: phrases the unknown text shares with exactly one candidate;\n"
        "                   stylometry: the phrases that one author repeats (see --author)\n"
        "  --author N       the author of the stylometry table, by position in the engine's\n"
        "                   author list: candidates in folder order from 0, \"Unknown\" last\n"
        "                   (default 0)\n"
        "  --summary        print the engine's summary, one \"Name: score\" line per candidate,\n"
        "                   instead of a table\n"
        "  --json           print the engine's state as one JSON object instead of a table:\n"
        "                     \"authors\": [{\"name\", \"words\", \"koef\", \"uniqueNum\",\n"
        "                                \"phrases\": [indices into \"records\", in the author's\n"
        "                                list order, consecutive ones as [first, last]]}],\n"
        "                                candidates first, \"Unknown\" last;\n"
        "                     \"texts\": [one list per author, in the same order: the words\n"
        "                                the engine made of its texts];\n"
        "                     \"records\": [every phrase record the search made, in the order\n"
        "                                made, as [author, first word, number of words]: its\n"
        "                                text is those words of \"texts\" joined by single\n"
        "                                blanks; [author, first, words, k] stands for k records\n"
        "                                of words, words + 1, ... words];\n"
        "                     \"phrases\": [{\"record\" (its index in \"records\"), \"words\",\n"
        "                                \"instances\", \"counts\" (one per author), \"unique\",\n"
        "                                \"authors\"}], the phrases kept; a phrase with the\n"
        "                                counts of the one before it as its record's index\n"
        "                                alone (its words are its record's);\n"
        "                     \"summary\": the summary text (CR after each line);\n"
        "                     \"average\": the candidates' mean word count\n"
        "                   The output grows with the project, however often a passage repeats\n"
        "  --json-full      the same without \"texts\", each record written as its own text, every\n"
        "                   index on its own and each kept phrase with its \"value\" (a passage of\n"
        "                   n words repeated makes about n^3/6 words of records);\n"
        "                   refused when the records would exceed 100 million characters\n"
        "  --each           attribute every text of \"Unknown\" on its own against the same\n"
        "                   candidates (each balanced with --balance); prints one row per text:\n"
        "                   No. (its 1-based place in text order), Text, Words, Most likely,\n"
        "                   Probability, Description, Runner-up, Probability, Margin (the two\n"
        "                   percentages' difference) and, with --balance, Draws won. A text that\n"
        "                   cannot be read or is refused says why in \"Most likely\", the other\n"
        "                   texts are still calculated, and the exit status is 1\n"
        "  --each --json    JSON Lines instead: one object per text, {\"no\":N,\"text\":...,\n"
        "                   \"words\":N,\"candidates\":[{\"name\":...,\"score\":X,\"words\":N,\n"
        "                   \"uniqueNum\":N} ...],\"summary\":...} in engine order (with --balance\n"
        "                   each candidate also has \"drawsWon\"), or {\"no\":N,\"text\":...,\n"
        "                   \"error\":...} for a text without a result\n"
        "  --jobs N         how many threads the calculation uses (default: one per core);\n"
        "                   with --each, how many texts are calculated at once. The output is\n"
        "                   the same whatever N is; more than four per core count as four per\n"
        "                   core, since each holds a calculation in memory\n"
        "  --shard K/N      with --each: only the texts whose place in text order, counted\n"
        "                   from 0, is K-1 modulo N (1 <= K <= N), for splitting one project\n"
        "                   over N processes or machines\n"
        "  --no-header      with --each: leave out the header line, so that the outputs of\n"
        "                   several shards concatenate; sort them on the first column\n"
        "                   (sort -s -t \"$(printf '\\t')\" -k1,1n) to restore text order\n"
        "  --cross-validate each known text of each candidate in turn plays the disputed text,\n"
        "                   the candidates' other texts stay their samples (texts of one file are\n"
        "                   held out together; a candidate with a single text has it cut into 5\n"
        "                   consecutive parts, each held out in turn). Prints four tables with a\n"
        "                   blank line between: Seed, Excerpt, Checks, Accuracy and Cosine Delta\n"
        "                   (the share right by the second opinion of the 500 most frequent\n"
        "                   words); per candidate its checks, recall, precision and Cosine Delta\n"
        "                   recall; the confusion matrix (true author down, ranked first\n"
        "                   across); every check (text, author, words, ranked first, runner-up,\n"
        "                   margin in percentage points, right or wrong, Cosine Delta's first).\n"
        "                   With --json one object: {\"seed\":S,\"excerpt\":W,\"checks\":[{\"text\",\n"
        "                   \"truth\",\"top\",\"runnerUp\",\"margin\",\"right\",\"words\",\"delta\"}],\n"
        "                   \"accuracy\":X,\"candidates\":[{\"name\",\"recall\",\"precision\",\n"
        "                   \"checks\"}],\"deltaAccuracy\":X}. --balance and --without-copies apply\n"
        "                   to every check; the progress line reads \"Checks: k of n\". With a\n"
        "                   single candidate every check ranks it first: accuracy, recall and\n"
        "                   precision read \"Cannot tell\" (null in JSON), as does the chance\n"
        "  --excerpt W      hold out a random excerpt of W words of each text instead of the\n"
        "                   whole text (default: as many words as the disputed text has, so the\n"
        "                   checks answer for a text as long as yours; with several texts in\n"
        "                   \"Unknown\", their median length; 0: whole texts)\n"
        "  --seed S         fixes every random choice of the checks (default 1); the same seed\n"
        "                   gives the same result\n"
        "  --confidence     cross-validates, then calculates and adds how far the answer can\n"
        "                   be trusted: after the table the lines \"Chance\", \"Verdict\" and\n"
        "                   \"Second opinion\" (Cosine Delta's ranking, marked as agreeing with\n"
        "                   the phrases' first candidate or not). The chance is how often the\n"
        "                   first-ranked candidate was right in the checks, fitted as a rising\n"
        "                   step function of the lead over the runner-up (isotonic\n"
        "                   regression), counted with one right and one wrong answer more; its\n"
        "                   90% interval is the Wilson score interval of the checks of the\n"
        "                   step the lead falls in. Below the threshold the verdict is \"Cannot\n"
        "                   tell\" with the candidates still in play. A line on standard error\n"
        "                   for a disputed text under 1,500 words or a candidate with samples\n"
        "                   under 2,500 words; with --json the fields \"confidence\", \"warnings\"\n"
        "                   and \"secondOpinion\"; with --each the columns Chance and Verdict on\n"
        "                   every row (the excerpt is then the disputed texts' median length)\n"
        "  --threshold P    with --confidence: the chance in percent below which the verdict is\n"
        "                   \"Cannot tell\" (default 80)\n"
        "  --report FILE    write the window's report of the calculation (settings, candidates,\n"
        "                   result table and chart, the phrases behind the answer; the texts\n"
        "                   with --each; the validation with --validation-report; the\n"
        "                   cross-validation with the chance and verdict of the answer with\n"
        "                   --cross-validate or --confidence, and --excerpt) to FILE: a\n"
        "                   web page when FILE ends in .html or .htm, otherwise a PDF. Only in\n"
        "                   builds with the window\n"
        "  --quiet          no progress line (it is shown on standard error during\n"
        "                   --validation-report, and only when standard error is a terminal)\n"
        "  --follow-links   read what links leading out of PROJECT_DIR point to, as texts and\n"
        "                   author folders; without it such a link is left out and named on\n"
        "                   standard error. Links that stay inside PROJECT_DIR are always\n"
        "                   followed; a broken link, a named pipe, a socket or a device in an\n"
        "                   author folder is no text, left out and named too\n"
        "  --read-only      (benchmarks) only read and decode every text, then print counts\n"
        "  --extract CHAT_FILE\n"
        "                   read a chat export (one message per line: date, time, name, phone,\n"
        "                   message, comma-separated); with --participants, print each participant\n"
        "                   entry (\"name,+phone,\") and its number of lines as tab-separated lines;\n"
        "                   with --into DIR, write a new project folder DIR holding one folder per\n"
        "                   participant with its lines, and a folder \"Unknown\" for the text to\n"
        "                   attribute (DIR must not exist or be empty)\n"
        "  --unknown PARTICIPANT\n"
        "                   with --into: this participant (entry or name) becomes the text in\n"
        "                   \"Unknown\" instead of a candidate\n"
        "  --help           print this text\n"
        "\n"
        "Output is UTF-8. In tables and the summary a tab, CR or LF inside a cell becomes a\n"
        "blank, and every other control character (C0 and C1, such as ESC) is written as a\n"
        "visible escape \"\\x1b\", so texts and folder names cannot disturb the terminal or\n"
        "split a line; in JSON they are \\u escapes.\n"
        "\n"
        "A text of the project that looks like no text (an image, archive, document or\n"
        "program, or a file with NUL bytes) is still read as text, and a line on standard\n"
        "error names it: \"Read as text, though it looks like none (...): \"AUTHOR/FILE\"\".\n"
        "\n"
        "Exit status: 0 success; 1 a text or folder could not be read, memory ran out, the\n"
        "calculation failed or the output could not be written; 2 bad arguments (an unknown\n"
        "locale, a PROJECT_DIR that is missing or not a folder) or a project folder without\n"
        "an \"Unknown\" folder or with two.\n"
        "With --extract: 1 the chat export could not be read, holds no participant or DIR could\n"
        "not be written; 2 bad arguments, a DIR that is not empty or an unknown PARTICIPANT.\n";
    // clang-format on
}

namespace {

// What the rules of combination leave to --extract.
std::optional<TCliOptions> CheckExtractOptions(const TCliOptions& options, bool haveProject, std::string& error) {
    if (options.Participants == !options.IntoDir.empty())
        error = "--extract needs either --participants or --into DIR";
    else if (haveProject)
        error = "--extract takes no PROJECT_DIR";
    else return options;
    return std::nullopt;
}

// The options that take a value: given twice, one value would be lost.
bool TakesValue(std::string_view option) {
    static constexpr std::string_view kWithValue[] = {
        "--split-words", "--copy-words", "--jobs",    "--shard",   "--locale", "--table",     "--author",
        "--extract",     "--into",       "--unknown", "--excerpt", "--seed",   "--threshold", "--report"};
    return std::find(std::begin(kWithValue), std::end(kWithValue), option) != std::end(kWithValue);
}

}  // namespace

std::optional<TCliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    TCliOptions options;
    bool haveProject = false;
    // Every option given, by its long name, with the value it was given.
    std::map<std::string, std::string> given;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                error = std::string(name) + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (arg.starts_with("-") && arg != "-" && arg != "--") {
            const std::string name = arg == "-q" ? "--quiet" : arg == "-h" ? "--help" : arg;
            const std::string typed = TakesValue(name) && i + 1 < args.size() ? args[i + 1] : std::string();
            if (TakesValue(name) && given.contains(name)) {
                error = name + " is given twice (\"" + given[name] + "\" and \"" + typed + "\")";
                return std::nullopt;
            }
            given.emplace(name, typed);
        }
        if (arg == "--help" || arg == "-h") {
            options.Help = true;
        } else if (arg == "--validation") {
            options.Validation = true;
        } else if (arg == "--validation-report") {
            options.ValidationReport = true;
        } else if (arg == "--all-candidates") {
            options.AllCandidates = true;
        } else if (arg == "--balance") {
            options.Balance = true;
        } else if (arg == "--split-words") {
            const std::string* how = value("--split-words");
            if (!how) return std::nullopt;
            if (*how == "spaces") options.SplitByLanguage = false;
            else if (*how == "language") options.SplitByLanguage = true;
            else {
                error = "--split-words must be spaces or language, not \"" + *how + "\"";
                return std::nullopt;
            }
        } else if (arg == "--copies") {
            options.Copies = true;
        } else if (arg == "--without-copies") {
            options.WithoutCopies = true;
        } else if (arg == "--copy-words") {
            const std::string* number = value("--copy-words");
            if (!number) return std::nullopt;
            const char* end = number->data() + number->size();
            const auto [ptr, ec] = std::from_chars(number->data(), end, options.CopyWords);
            if (ec != std::errc() || ptr != end || options.CopyWords < 1) {
                error = "--copy-words needs a number of words from 1, not \"" + *number + "\"";
                return std::nullopt;
            }
        } else if (arg == "--summary") {
            options.Summary = true;
        } else if (arg == "--json") {
            options.Json = true;
        } else if (arg == "--json-full") {
            options.Json = true;
            options.JsonFull = true;
        } else if (arg == "--quiet" || arg == "-q") {
            options.Quiet = true;
        } else if (arg == "--read-only") {
            options.ReadOnly = true;
        } else if (arg == "--each") {
            options.EachText = true;
        } else if (arg == "--no-header") {
            options.NoHeader = true;
        } else if (arg == "--follow-links") {
            options.FollowLinks = true;
        } else if (arg == "--jobs") {
            const std::string* number = value("--jobs");
            if (!number) return std::nullopt;
            if (!ParseCount(*number, options.Jobs)) {
                error = "--jobs needs a number from 1 to " + std::to_string(std::numeric_limits<unsigned>::max()) +
                        ", not \"" + *number + "\"";
                return std::nullopt;
            }
        } else if (arg == "--shard") {
            const std::string* shard = value("--shard");
            if (!shard) return std::nullopt;
            if (!ParseShard(*shard, options.ShardIndex, options.ShardCount)) {
                error = "--shard needs K/N with 1 <= K <= N <= " + std::to_string(std::numeric_limits<int32_t>::max()) +
                        ", not \"" + *shard + "\"";
                return std::nullopt;
            }
        } else if (arg == "--locale") {
            const std::string* name = value("--locale");
            if (!name) return std::nullopt;
            options.LocaleName = *name;
        } else if (arg == "--table") {
            const std::string* name = value("--table");
            if (!name) return std::nullopt;
            if (*name == "result") options.Table = TTable::Result;
            else if (*name == "analysis") options.Table = TTable::Analysis;
            else if (*name == "stylometry") options.Table = TTable::Stylometry;
            else {
                error = "--table must be result, analysis or stylometry, not \"" + *name + "\"";
                return std::nullopt;
            }
        } else if (arg == "--author") {
            const std::string* number = value("--author");
            if (!number) return std::nullopt;
            const char* end = number->data() + number->size();
            const auto [ptr, ec] = std::from_chars(number->data(), end, options.Author);
            if (ec != std::errc() || ptr != end || options.Author < 0) {
                error = "--author needs a number from 0, not \"" + *number + "\"";
                return std::nullopt;
            }
        } else if (arg == "--extract" || arg == "--into" || arg == "--unknown") {
            const std::string* text = value(arg.c_str());
            if (!text) return std::nullopt;
            // Empty, it would pass for not given.
            if (text->empty()) {
                error = arg + " needs a value, not \"\"";
                return std::nullopt;
            }
            (arg == "--extract" ? options.ExtractFile : arg == "--into" ? options.IntoDir : options.UnknownParticipant) =
                *text;
        } else if (arg == "--cross-validate") {
            options.CrossValidate = true;
        } else if (arg == "--confidence") {
            options.Confidence = true;
        } else if (arg == "--excerpt" || arg == "--seed" || arg == "--threshold") {
            const std::string* number = value(arg.c_str());
            if (!number) return std::nullopt;
            const char* end = number->data() + number->size();
            if (arg == "--excerpt") {
                int64_t words = -1;
                const auto [ptr, ec] = std::from_chars(number->data(), end, words);
                if (ec != std::errc() || ptr != end || words < 0) {
                    error = "--excerpt needs a number of words from 0, not \"" + *number + "\"";
                    return std::nullopt;
                }
                options.ExcerptWords = words;
                options.ExcerptGiven = true;
            } else if (arg == "--seed") {
                const auto [ptr, ec] = std::from_chars(number->data(), end, options.Seed);
                if (ec != std::errc() || ptr != end || number->empty()) {
                    error = "--seed needs a whole number from 0, not \"" + *number + "\"";
                    return std::nullopt;
                }
                options.SeedGiven = true;
            } else {
                const auto [ptr, ec] = std::from_chars(number->data(), end, options.ThresholdPercent);
                if (ec != std::errc() || ptr != end || options.ThresholdPercent < 1 || options.ThresholdPercent > 100) {
                    error = "--threshold needs a percentage from 1 to 100, not \"" + *number + "\"";
                    return std::nullopt;
                }
                options.ThresholdGiven = true;
            }
        } else if (arg == "--report") {
            const std::string* file = value("--report");
            if (!file) return std::nullopt;
            if (file->empty()) {
                error = "--report needs a file name";
                return std::nullopt;
            }
            options.ReportFile = *file;
        } else if (arg == "--participants") {
            options.Participants = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            if (arg == "--") {
                if (++i >= args.size()) break;
            }
            if (haveProject) {
                error = "only one PROJECT_DIR may be given";
                return std::nullopt;
            }
            // An empty argument is a mistake (an unset shell variable), never
            // the root folder.
            if (args[i].empty()) {
                error = "PROJECT_DIR is empty";
                return std::nullopt;
            }
            options.ProjectDir = args[i];
            haveProject = true;
        }
    }
    std::set<std::string> names;
    for (const auto& [name, typed] : given) names.insert(name);
    if (std::string broken = BrokenOptionRule(options, names); !broken.empty()) {
        error = std::move(broken);
        return std::nullopt;
    }
    if (!options.ExtractFile.empty() || options.Participants || !options.IntoDir.empty() ||
        !options.UnknownParticipant.empty())
        return CheckExtractOptions(options, haveProject, error);
    if (!haveProject && !options.Help) {
        error = "PROJECT_DIR is missing";
        return std::nullopt;
    }
    return options;
}

}  // namespace quillprint::cli
