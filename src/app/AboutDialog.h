#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace orvane {

// "About Orvane": the application's version and the licences of the fonts and icons it bundles.
class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // "Version 1.0": the build's version.
    [[nodiscard]] static QString versionText();
    // Every bundled work's name followed by its licence, as plain text.
    [[nodiscard]] static QString licencesText();
};

} // namespace orvane
