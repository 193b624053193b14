#include "platform/ui/prompts.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>

QMessageBox::StandardButton QtPrompts::message(QWidget *parent, const QString &title, const QString &text, Icon icon,
                                               QMessageBox::StandardButtons buttons)
{
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::None:
        qicon = QMessageBox::NoIcon;
        break;
    case Icon::Information:
        qicon = QMessageBox::Information;
        break;
    case Icon::Warning:
        qicon = QMessageBox::Warning;
        break;
    case Icon::Error:
        qicon = QMessageBox::Critical;
        break;
    case Icon::Question:
        qicon = QMessageBox::Question;
        break;
    }
    // The window system would put the program's name on a box without a
    // caption; a blank one leaves it untitled.
    QMessageBox box(qicon, title.isEmpty() ? QStringLiteral(" ") : title, text, buttons, parent);
    const int result = box.exec();
    if (box.clickedButton() == nullptr)
        return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No;
    return static_cast<QMessageBox::StandardButton>(result);
}

std::optional<QString> QtPrompts::inputText(QWidget *parent, const QString &title, const QString &label,
                                            const QString &initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtPrompts::openFile(QWidget *parent, const QString &title, const QString &startPath, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, title, startPath, filter);
}

QString QtPrompts::saveFile(QWidget *parent, const QString &title, const QString &startPath, const QString &filter,
                            const QString &defaultSuffix, bool confirmOverwrite)
{
    QFileDialog dialog(parent, title, startPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::folder(QWidget *parent, const QString &title, const QString &startDir)
{
    return QFileDialog::getExistingDirectory(parent, title, startDir, QFileDialog::ShowDirsOnly);
}

std::optional<QFont> QtPrompts::font(QWidget *parent, const QFont &initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return f;
}

std::optional<QColor> QtPrompts::color(QWidget *parent, const QColor &initial)
{
    const QColor c = QColorDialog::getColor(initial, parent);
    if (!c.isValid())
        return std::nullopt;
    return c;
}
