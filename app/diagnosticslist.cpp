#include "diagnosticslist.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace {
enum Column { Severity, File, Line, Code, Text, Variant };
}

DiagnosticsList::DiagnosticsList(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName("diagnosticsList");
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setHeaderLabels({ tr("类别"), tr("文件"), tr("行"), tr("代码"), tr("说明"), tr("变体") });
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(Text, QHeaderView::Stretch);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        const QString file = item->data(File, Qt::UserRole).toString();
        if (!file.isEmpty())
            emit openRequested(file, item->text(Line).toInt());
    });
}

void DiagnosticsList::showDiagnostics(const QList<BuildDiagnostic> &diagnostics)
{
    clear();
    const QIcon errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const BuildDiagnostic &diagnostic : diagnostics) {
        const bool error = diagnostic.severity == BuildDiagnostic::Severity::Error;
        auto *item = new QTreeWidgetItem(this);
        item->setIcon(Severity, error ? errorIcon : warningIcon);
        item->setText(Severity, error ? tr("错误") : tr("警告"));
        // The file's name is enough to read the list; the whole path is in the tool tip.
        const QString file
            = diagnostic.file.isEmpty() ? diagnostic.tool : QFileInfo(diagnostic.file).fileName();
        item->setText(File, file);
        item->setToolTip(File, QDir::toNativeSeparators(diagnostic.file));
        item->setData(File, Qt::UserRole, diagnostic.file);
        item->setText(Line, diagnostic.line > 0 ? QString::number(diagnostic.line) : QString());
        item->setText(Code, diagnostic.code);
        item->setText(Text, diagnostic.text);
        item->setToolTip(Text, diagnostic.printedLine);
        item->setText(Variant, diagnostic.variant);
    }
    for (int column : { Severity, File, Line, Code, Variant })
        resizeColumnToContents(column);
}
