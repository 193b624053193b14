#include "tracks/ui/tageditform.h"

#include "platform/paths.h"
#include "platform/textcodec.h"
#include "platform/u8.h"
#include "tracks/genres.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// Limits count the bytes the tag stores, not characters: typing stops once
// the CP932 form would not fit.
void limitBytes(QLineEdit *edit, int width)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, width](const QString &text) {
        if (id3v1::tagBytes(text).size() <= width)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(text::fromCp932(id3v1::fitCp932(text, width)));
        edit->setCursorPosition(std::min(cursor, int(edit->text().size())));
    });
}

} // namespace

TTagEditF::TTagEditF(const QString &path, const id3v1::TagFields &tag, const GenreTable &genres, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TagEditF"));
    setWindowTitle(paths::namePart(path));

    auto makeEdit = [this](const char *name, const QString &value, int width) {
        auto *edit = new QLineEdit(value, this);
        edit->setObjectName(QString::fromLatin1(name));
        limitBytes(edit, width);
        return edit;
    };
    Title = makeEdit("Title", tag.title, id3v1::kTextWidth);
    Artist = makeEdit("Artist", tag.artist, id3v1::kTextWidth);
    Album = makeEdit("Album", tag.album, id3v1::kTextWidth);
    Comment = makeEdit("Comment", tag.comment, id3v1::kTextWidth);
    Year = makeEdit("Year", tag.year, id3v1::kYearWidth);
    Year->setMaximumWidth(60);

    GenreList = new QComboBox(this);
    GenreList->setObjectName(QStringLiteral("GenreList"));
    GenreList->setEditable(false);
    GenreList->setMaxVisibleItems(16);
    for (int i = 0; i < GenreTable::kEntries; ++i)
        GenreList->addItem(genres.entry(i));
    GenreList->setCurrentIndex(tag.genre >= 0 && tag.genre < GenreTable::kEntries ? tag.genre : id3v1::kNoGenre);

    FileName = new QLineEdit(path, this);
    FileName->setObjectName(QStringLiteral("FileName"));
    FileName->setReadOnly(true);

    auto *form = new QFormLayout;
    form->addRow(U("曲名(&S)"), Title);
    form->addRow(U("アーティスト(&A)"), Artist);
    form->addRow(U("アルバム(&B)"), Album);
    form->addRow(U("コメント(&C)"), Comment);
    form->addRow(U("日付(&Y)"), Year);
    form->addRow(U("ジャンル(&G)"), GenreList);
    form->addRow(U("ファイル名"), FileName);

    Button1 = new QPushButton(U("設定(&E)"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(U("ｷｬﾝｾﾙ(ESC)"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto *column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addLayout(buttons);
    setMinimumWidth(380);
}

id3v1::TagFields TTagEditF::fields() const
{
    id3v1::TagFields tag;
    tag.title = Title->text();
    tag.artist = Artist->text();
    tag.album = Album->text();
    tag.year = Year->text();
    tag.comment = Comment->text();
    tag.genre = GenreList->currentIndex() < 0 ? id3v1::kNoGenre : GenreList->currentIndex();
    tag.tagged = true;
    return tag;
}

void TTagEditF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
}
