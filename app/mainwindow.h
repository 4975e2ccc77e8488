#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "kestrune.h"

#include <QMainWindow>
#include <QString>
#include <QStringList>

QT_BEGIN_NAMESPACE
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

class DiagnosticsList;
class LogPane;
class QAction;
class QLabel;
class QLineEdit;
struct FoundInstallation;
struct InstallationState;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_btnCreateVsProject_clicked();
    void on_btnOpenVsProject_clicked();
    void on_btnAdd_clicked();
    void on_btnDel_clicked();
    void on_rbtnFluentUdf_toggled(bool checked);
    void on_editPathFluent_textChanged(const QString &arg1);
    void on_editPathEdem_textChanged(const QString &arg1);
    void on_editPathVS_textChanged(const QString &arg1);
    void monitorUdfNames();

private:
    void showAboutBox();
    void loadSettings();
    QStringList showStoredPaths();
    void storeSetting(const QString &key, const QString &value);
    void showInstallationStates();
    void showInstallationState(QLabel *label, const InstallationState &state);
    void startVisualStudioSearch();
    void fillPath(QLineEdit *field, const QString &fieldName, const FoundInstallation &found);
    void addPickedFile(const QString &path);
    void warn(const QString &text);
    bool installationsFound(const QString &fluentFolder, const QString &vsFolder);
    QString variantName() const;
    CKestrune::CreateRequest::BuildType buildType() const;
    bool projectFolderUsable(const QString &folder);
    bool regenerateAgreed(const QString &solution);
    bool resumeBuildRoot();

    void loadLogo();
    void showLogo();
    void setUpLogPane();
    void setUpBuildMenu();
    bool chooseCaseFolder();
    void buildLibraries(const QString &configuration);
    void setBuilding(bool building);
    void showLibrariesBuilt(const LibraryBuildOutcome &outcome);
    void openAtLine(const QString &file, int line);
    void fitLogPane(bool open);
    void connectBuildEvents();
    void runCreate(const CKestrune::CreateRequest &request);
    void setCreating(bool creating);
    void finishCreate(const CKestrune::BuildOutcome &outcome);
    void showRegeneratedTables(const QStringList &variants, const QList<int> &functionCounts,
        const QStringList &failedVariants, const QString &compilerMessage);

    Ui::MainWindow *ui;
    CKestrune *generator = nullptr;
    QStringList headerFiles;
    QStringList sourceFiles;
    QString projectPath;
    // The build root the open command resumed, when the window did not create it.
    QString resumedBuildRoot;
    // Where the paths that this start found by itself came from, for the status bar.
    QStringList foundPathNotes;
    LogPane *logPane = nullptr;
    DiagnosticsList *diagnostics = nullptr;
    QAction *buildAction = nullptr;
    QAction *buildReleaseAction = nullptr;
    CKestrune::CreateRequest::BuildType createBuildType
        = CKestrune::CreateRequest::BuildType::FluentUdf;
    // The user asked to close while a create ran; the window closes once it has ended.
    bool closeAfterCreate = false;
    int closedMinimumHeight = 0;
    int closedMaximumHeight = 0;

    static constexpr int statusMessageTimeoutMs = 3000;
};

#endif // MAINWINDOW_H
