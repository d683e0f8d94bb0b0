#include "platform/WidgetDialogs.h"

#include "platform/MousePointer.h"
#include "platform/Services.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {
// While long work shows the hourglass, a box that waits for the user shows the ordinary
// pointer; the hourglass comes back when the box closes.
class PointeurNormal
{
public:
    PointeurNormal()
    {
        if (mousePointer().shown() == PointerShape::Hourglass)
            m_fleche.emplace(PointerShape::Arrow);
    }

private:
    std::optional<PointerGuard> m_fleche;
};
} // namespace

QWidget* WidgetDialogs::owner() const
{
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    if (QWidget* w = QApplication::activeWindow())
        return w;
    if (m_parent)
        return m_parent;
    // The main window shown but not active yet (the boxes of the start-up): a box of its own would
    // be a window apart, which the desktop may leave behind the main window, the program then
    // waiting for an answer nobody sees and the main window's menus refusing every click.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<QMainWindow*>(w))
            return w;
    return nullptr;
}

int WidgetDialogs::ask(const QString& text, int style, const QString& title)
{
    QMessageBox box(owner());
    box.setWindowTitle(title);
    box.setText(text);
    switch (mb::icon(style)) {
    case mb::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case mb::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case mb::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case mb::Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    struct ButtonSpec
    {
        int answer;
        const char* text;
        QMessageBox::ButtonRole role;
    };
    static const ButtonSpec specs[] = {
        {mb::OK, "OK", QMessageBox::AcceptRole},
        {mb::Cancel, "Annuler", QMessageBox::RejectRole},
        {mb::Abort, "Abandonner", QMessageBox::RejectRole},
        {mb::Retry, "Réessayer", QMessageBox::AcceptRole},
        {mb::Ignore, "Ignorer", QMessageBox::AcceptRole},
        {mb::Yes, "Oui", QMessageBox::YesRole},
        {mb::No, "Non", QMessageBox::NoRole},
    };
    const QList<int> answers = mb::answersOf(style);
    const int defaultAnswer = mb::defaultAnswer(style);
    const int escape = mb::escapeAnswer(style);
    QList<std::pair<QAbstractButton*, int>> made;
    for (int answer : answers) {
        for (const ButtonSpec& s : specs) {
            if (s.answer != answer)
                continue;
            QPushButton* b = box.addButton(QString::fromUtf8(s.text), s.role);
            made.append({b, answer});
            if (answer == defaultAnswer)
                box.setDefaultButton(b);
            if (answer == escape)
                box.setEscapeButton(b);
        }
    }
    {
        const PointeurNormal pointeur;
        box.exec();
    }
    for (const auto& [button, answer] : made)
        if (box.clickedButton() == button)
            return answer;
    return escape ? escape : defaultAnswer;
}

std::optional<QString> WidgetDialogs::inputBox(const QString& prompt, const QString& title,
                                               const QString& defaultText)
{
    QInputDialog dlg(owner());
    dlg.setWindowTitle(title);
    dlg.setLabelText(prompt);
    dlg.setTextValue(defaultText);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("Annuler"));
    const PointeurNormal pointeur;
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue();
}

QString WidgetDialogs::qtFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!desc.contains(QLatin1Char('(')))
            desc += QStringLiteral(" (") + patterns + QLatin1Char(')');
        out << desc;
    }
    return out.join(QStringLiteral(";;"));
}

namespace {
std::optional<QString> runFileDialog(QWidget* owner, const FileRequest& r, QFileDialog::AcceptMode mode)
{
    QFileDialog dlg(owner, r.title, r.folder);
    dlg.setAcceptMode(mode);
    dlg.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters =
        WidgetDialogs::qtFilter(r.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(qMax(0, r.filterIndex - 1)));
    }
    if (!r.fileName.isEmpty())
        dlg.selectFile(r.fileName);
    const PointeurNormal pointeur;
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::cleanPath(dlg.selectedFiles().first());
}
} // namespace

std::optional<QString> WidgetDialogs::openFileName(const FileRequest& request)
{
    return runFileDialog(owner(), request, QFileDialog::AcceptOpen);
}

std::optional<QString> WidgetDialogs::saveFileName(const FileRequest& request)
{
    return runFileDialog(owner(), request, QFileDialog::AcceptSave);
}

} // namespace platform
