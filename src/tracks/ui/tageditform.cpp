#include "tracks/ui/tageditform.h"

#include "platform/paths.h"
#include "platform/u8.h"
#include "tracks/genres.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <memory>

namespace {

// Limits count the bytes the tag stores, not characters. As in a native edit
// field, an edit that would overflow keeps only what fits of the inserted
// text; what was already there is never cut.
void limitBytes(QLineEdit *edit, int width)
{
    auto fits = [width](const QString &text) { return id3v1::tagBytes(text).size() <= width; };
    // The last text that fitted: the field as it was before an overflowing edit.
    auto before = std::make_shared<QString>(edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [before, fits](const QString &text) {
        if (fits(text))
            *before = text;
    });
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, width, before, fits](const QString &text) {
        if (fits(text))
            return;
        const QString &old = *before;
        qsizetype head = 0;
        while (head < old.size() && head < text.size() && old[head] == text[head])
            ++head;
        if (head > 0 && text[head - 1].isHighSurrogate())
            --head;
        qsizetype tail = 0;
        while (tail < old.size() - head && tail < text.size() - head &&
               old[old.size() - 1 - tail] == text[text.size() - 1 - tail])
            ++tail;
        if (tail > 0 && text[text.size() - tail].isLowSurrogate())
            --tail;
        const QString kept = text.left(head) + text.right(tail);
        qsizetype room = width - id3v1::tagBytes(kept).size();
        QString inserted;
        const QString typed = text.mid(head, text.size() - head - tail);
        for (qsizetype i = 0; i < typed.size();) {
            const qsizetype n = (typed[i].isHighSurrogate() && i + 1 < typed.size()) ? 2 : 1;
            const qsizetype bytes = id3v1::tagBytes(typed.mid(i, n)).size();
            if (bytes > room)
                break;
            room -= bytes;
            inserted += typed.mid(i, n);
            i += n;
        }
        edit->setText(text.left(head) + inserted + text.right(tail));
        edit->setCursorPosition(int(head + inserted.size()));
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
