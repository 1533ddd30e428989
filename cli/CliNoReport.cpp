// A build without the window has no report writer.
#include "cli/CliReport.h"

namespace quillprint::cli {

int RunReport(const TCliOptions&, std::ostream& err) {
    err << "quillprint-cli: this build has no report writer (it was built without the window)\n";
    return 2;
}

}  // namespace quillprint::cli
