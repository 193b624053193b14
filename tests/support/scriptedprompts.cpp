#include "support/scriptedprompts.h"

QVariant ScriptedPrompts::next()
{
    if (m_script.isEmpty())
        return {};
    return m_script.takeFirst();
}

QMessageBox::StandardButton ScriptedPrompts::message(QWidget *, const QString &title, const QString &text, Icon icon,
                                                     QMessageBox::StandardButtons buttons)
{
    m_asked.append({Kind::Message, title, text, icon, buttons, {}});
    if (whileAsking)
        whileAsking();
    const QVariant v = next();
    if (v.isValid() && v.typeId() == QMetaType::Int)
        return static_cast<QMessageBox::StandardButton>(v.toInt());
    if (buttons.testFlag(QMessageBox::Cancel))
        return QMessageBox::Cancel;
    if (buttons.testFlag(QMessageBox::No))
        return QMessageBox::No;
    return QMessageBox::Ok;
}

std::optional<QString> ScriptedPrompts::inputText(QWidget *, const QString &title, const QString &label,
                                                  const QString &initial)
{
    m_asked.append({Kind::Input, title, label, Icon::None, {}, initial});
    const QVariant v = next();
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    return std::nullopt;
}

QString ScriptedPrompts::openFile(QWidget *, const QString &title, const QString &startPath, const QString &filter)
{
    m_asked.append({Kind::OpenFile, title, filter, Icon::None, {}, startPath});
    const QVariant v = next();
    return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

QString ScriptedPrompts::saveFile(QWidget *, const QString &title, const QString &startPath, const QString &filter,
                                  const QString &, bool confirmOverwrite)
{
    m_asked.append({Kind::SaveFile, title, filter, Icon::None, {}, startPath, confirmOverwrite});
    const QVariant v = next();
    return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

QString ScriptedPrompts::folder(QWidget *, const QString &title, const QString &startDir)
{
    m_asked.append({Kind::Folder, title, {}, Icon::None, {}, startDir});
    const QVariant v = next();
    return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

std::optional<QFont> ScriptedPrompts::font(QWidget *, const QFont &initial)
{
    m_asked.append({Kind::Font, {}, {}, Icon::None, {}, initial.family()});
    const QVariant v = next();
    if (v.typeId() == QMetaType::QFont)
        return v.value<QFont>();
    return std::nullopt;
}

std::optional<QColor> ScriptedPrompts::color(QWidget *, const QColor &initial)
{
    m_asked.append({Kind::Color, {}, {}, Icon::None, {}, initial.name()});
    const QVariant v = next();
    if (v.typeId() == QMetaType::QColor)
        return v.value<QColor>();
    return std::nullopt;
}
