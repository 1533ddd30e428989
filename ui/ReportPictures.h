// The pictures of the report to share, drawn from the shown results in the
// given font and a light palette, since reports are read on paper too.
#pragma once

#include <QFont>

#include "ui/ReportExport.h"

namespace quillprint {

class TWorkspace;

TReportPictures ReportPictures(const TWorkspace& workspace, const QFont& font);

}  // namespace quillprint
