#pragma once

#include <QDialog>
#include <QString>

namespace halyx {

class TextSource;

// What the About box tells besides the two lines: the version and where the run keeps its
// setting file, its backups and its audit log (what a technician asks for on the telephone).
struct AboutFacts {
    QString version;
    QString settingFile;
    QString backupFolder;
    QString auditLog;
};

// The About box: the application icon, two lines of text and an OK button; below them, when
// facts are given, the version and the places of the run's files.
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(const TextSource& texts, QWidget* parent = nullptr);
    CAboutDlg(const TextSource& texts, const AboutFacts& facts, QWidget* parent = nullptr);
};

}  // namespace halyx
