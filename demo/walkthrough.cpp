// Drives the window the way a newcomer would, for machines without a display: add the sample
// sources, choose 3D, double precision, parallel, create into the demo project folder. It saves a
// picture of the window and exits non-zero when no solution was produced.

#include "dialoganswerer.h"
#include "mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextStream>

namespace {
template<typename T>
T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

void waitUntilAnswered(const DialogAnswerer &answerer)
{
    while (!answerer.allAnswered())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        out << "usage: kestrune_walkthrough <samples folder> <project folder> <screenshot.png>\n";
        return 2;
    }
    const QString samples = args.at(1);
    const QString project = args.at(2);

    MainWindow window;
    window.show();
    DialogAnswerer answerer;

    const QStringList names = QDir(samples).entryList({ "*.h", "*.c", "*.cpp" }, QDir::Files);
    out << "Adding " << names.join(", ") << "\n";
    answerer.expect(DialogAnswerer::pickFiles(samples, names));
    child<QPushButton>(&window, "btnAdd")->click();
    waitUntilAnswered(answerer);

    child<QRadioButton>(&window, "rbtnFluentUdf")->click();
    child<QComboBox>(&window, "cbDimension")->setCurrentIndex(0);
    child<QComboBox>(&window, "cbPrecision")->setCurrentIndex(0);
    child<QComboBox>(&window, "cbParallel")->setCurrentIndex(0);
    out << "Creating the solution in " << project << " (3D, double precision, parallel)\n";
    out.flush();
    QDir().mkpath(project);
    answerer.expect(DialogAnswerer::chooseFolder(project));
    QPushButton *create = child<QPushButton>(&window, "btnCreateVsProject");
    create->click();
    // The create runs off the window's thread; the button comes back when it has ended.
    while (!create->isEnabled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);

    for (const DialogAnswerer::Seen &seen : answerer.seen) {
        if (!seen.text.isEmpty())
            out << "The window said: " << seen.text << "\n";
    }
    const int progress = child<QProgressBar>(&window, "progressBar")->value();
    out << "Progress: " << progress << "\n";
    window.grab().save(args.at(3));
    out << "Screenshot: " << args.at(3) << "\n";

    const QFileInfo solution(project + "/buildByVarnholt/solution/FLUENTUDF.sln");
    const bool produced = progress == 100 && solution.isFile() && solution.size() > 0;
    out << (produced ? "Solution: " + solution.filePath() : QString("No solution was produced"))
        << "\n";
    return produced ? 0 : 1;
}
