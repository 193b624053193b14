#include "tracks/ui/findform.h"
#include "platform/u8.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int kBoxRows = 5; // boxes run down three columns
} // namespace

TFindF::TFindF(ProfileFile &settings, bool fiveColumnList, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("FindF"));
    setWindowTitle(U("検索"));

    auto *label = new QLabel(U("検索文字列:"), this);
    FindTextBox = new QComboBox(this);
    FindTextBox->setObjectName(QStringLiteral("FindTextBox"));
    FindTextBox->setEditable(true);
    FindTextBox->setInsertPolicy(QComboBox::NoInsert);
    FindTextBox->setMaxVisibleItems(10);
    FindTextBox->setMinimumWidth(260);
    FindTextBox->addItems(findtotals::loadFindHistory(m_settings));
    FindTextBox->setCurrentIndex(-1);
    FindTextBox->setEditText(QString());
    label->setBuddy(FindTextBox);

    auto *group = new QGroupBox(U("検索対象項目"), this);
    auto *grid = new QGridLayout(group);
    const findtotals::FindBoxes defaults = findtotals::defaultFindBoxes();
    for (int i = 0; i < findtotals::kFindBoxCount; ++i) {
        auto *box = new QCheckBox(findtotals::findBoxCaption(i, fiveColumnList), group);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        const bool enabled = findtotals::findBoxEnabled(i, fiveColumnList);
        box->setEnabled(enabled);
        box->setChecked(enabled && defaults[size_t(i)]);
        grid->addWidget(box, i % kBoxRows, i / kBoxRows);
        CheckBox[size_t(i)] = box;
    }

    auto makeButton = [this](const char *caption, const char *name) {
        auto *b = new QPushButton(U(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    AllYesBtn = makeButton("全て選択", "AllYesBtn");
    AllNoBtn = makeButton("全て解除", "AllNoBtn");
    InvBtn = makeButton("選択反転", "InvBtn");
    OkBtn = makeButton("OK", "OkBtn");
    OkBtn->setDefault(true);
    CancelBtn = makeButton("ｷｬﾝｾﾙ", "CancelBtn");
    connect(AllYesBtn, &QPushButton::clicked, this, &TFindF::AllYesBtnClick);
    connect(AllNoBtn, &QPushButton::clicked, this, &TFindF::AllNoBtnClick);
    connect(InvBtn, &QPushButton::clicked, this, &TFindF::InvBtnClick);
    connect(OkBtn, &QPushButton::clicked, this, &TFindF::OkBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *boxButtons = new QHBoxLayout;
    boxButtons->addWidget(AllYesBtn);
    boxButtons->addWidget(AllNoBtn);
    boxButtons->addWidget(InvBtn);
    boxButtons->addStretch(1);
    grid->addLayout(boxButtons, kBoxRows, 0, 1, 3);

    auto *textRow = new QHBoxLayout;
    textRow->addWidget(label);
    textRow->addWidget(FindTextBox, 1);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(OkBtn);
    closeRow->addWidget(CancelBtn);

    auto *column = new QVBoxLayout(this);
    column->addLayout(textRow);
    column->addWidget(group);
    column->addLayout(closeRow);
}

QString TFindF::findText() const { return FindTextBox->currentText(); }

findtotals::FindBoxes TFindF::boxes() const
{
    findtotals::FindBoxes boxes{};
    for (int i = 0; i < findtotals::kFindBoxCount; ++i)
        boxes[size_t(i)] = CheckBox[size_t(i)]->isEnabled() && CheckBox[size_t(i)]->isChecked();
    return boxes;
}

QStringList TFindF::historyEntries() const
{
    QStringList entries;
    for (int i = 0; i < FindTextBox->count(); ++i)
        entries << FindTextBox->itemText(i);
    return entries;
}

void TFindF::AllYesBtnClick()
{
    for (QCheckBox *box : CheckBox)
        box->setChecked(box->isEnabled());
}

void TFindF::AllNoBtnClick()
{
    for (QCheckBox *box : CheckBox)
        box->setChecked(false);
}

void TFindF::InvBtnClick()
{
    for (QCheckBox *box : CheckBox)
        box->setChecked(box->isEnabled() && !box->isChecked());
}

void TFindF::OkBtnClick()
{
    const QString text = findText();
    const QStringList history = findtotals::addToFindHistory(historyEntries(), text);
    FindTextBox->clear();
    FindTextBox->addItems(history);
    FindTextBox->setCurrentIndex(FindTextBox->count() - 1);
    FindTextBox->setEditText(text);
    m_saveResult = findtotals::saveFindHistory(m_settings, history);
    accept();
}

void TFindF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}
