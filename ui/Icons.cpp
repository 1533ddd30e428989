#include "ui/Icons.h"

// The icons are compiled into this static library; register them before use.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace quillprint {

namespace {

QIcon ThemeOr(const char* themeName, const char* fallbackResource) {
    static const bool registered = (InitIconResources(), true);
    (void)registered;
    return QIcon::fromTheme(QString::fromLatin1(themeName), QIcon(QString::fromLatin1(fallbackResource)));
}

}  // namespace

QIcon CalculateIcon() { return ThemeOr("accessories-calculator", ":/icons/calculate.svg"); }
QIcon NewIcon() { return ThemeOr("document-new", ":/icons/new.svg"); }
QIcon OpenFolderIcon() { return ThemeOr("document-open", ":/icons/open-folder.svg"); }
QIcon HelpIcon() { return ThemeOr("help-contents", ":/icons/help.svg"); }
QIcon ApplicationIcon() { return ThemeOr("", ":/icons/quillprint.svg"); }

}  // namespace quillprint
