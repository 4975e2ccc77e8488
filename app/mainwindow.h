#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QString>
#include <QStringList>

QT_BEGIN_NAMESPACE
namespace Ui {
class MainWindow;
}
QT_END_NAMESPACE

class CKestrune;
class QLabel;
class QLineEdit;
struct FoundInstallation;
struct InstallationState;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

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
    bool checkBuildResult();
    bool projectFolderUsable(const QString &folder);

    Ui::MainWindow *ui;
    CKestrune *generator = nullptr;
    QStringList headerFiles;
    QStringList sourceFiles;
    QString projectPath;
    // Where the paths that this start found by itself came from, for the status bar.
    QStringList foundPathNotes;

    static constexpr int statusMessageTimeoutMs = 3000;
};

#endif // MAINWINDOW_H
