#include "library/indexfile.h"

#include "library/textlines.h"
#include "platform/regularfile.h"
#include "platform/textcodec.h"

#include <QSaveFile>

namespace indexfile {

namespace {

QString withoutTabs(QStringView line)
{
    QString out = line.toString();
    out.remove(QLatin1Char('\t'));
    return out;
}

} // namespace

std::vector<Entry> Tree::entriesWithSubfolders(int folder) const
{
    std::vector<Entry> out;
    if (folder < 0 || folder >= int(folders.size()))
        return out;
    const int depth = folders[size_t(folder)].depth;
    for (size_t f = size_t(folder); f < folders.size(); ++f) {
        if (f != size_t(folder) && folders[f].depth <= depth)
            break;
        out.insert(out.end(), folders[f].entries.begin(), folders[f].entries.end());
    }
    return out;
}

Tree parseText(QStringView text)
{
    Tree tree;
    tree.folders.emplace_back();
    tree.folders.front().name = QStringLiteral("root");
    // Open folders, innermost last; kept on the heap so deep nesting costs no stack.
    std::vector<int> open{0};

    textlines::forEachLine(text, [&](QStringView raw) {
        const QString line = raw.contains(QLatin1Char('\t')) ? withoutTabs(raw) : raw.toString();
        if (line.startsWith(QLatin1String(";;{"))) {
            QStringView name = QStringView(line).sliced(3);
            if (name.startsWith(QLatin1Char(' ')))
                name = name.sliced(1);
            const int parent = open.back();
            Folder f;
            f.name = name.toString();
            f.parent = parent;
            f.depth = tree.folders[size_t(parent)].depth + 1;
            const int number = int(tree.folders.size());
            tree.folders.push_back(std::move(f));
            tree.folders[size_t(parent)].children.push_back(number);
            open.push_back(number);
            return;
        }
        if (line.startsWith(QLatin1String(";;}"))) {
            // An end without a start has nothing to close; reading goes on.
            if (open.size() > 1)
                open.pop_back();
            return;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char(';'))) {
            if (eq < 0)
                return; // comment
            const QStringView key = QStringView(line).first(eq);
            if (key.compare(QLatin1String(";title"), Qt::CaseInsensitive) == 0)
                tree.title = line.mid(eq + 1);
            else if (key.compare(QLatin1String(";root"), Qt::CaseInsensitive) == 0)
                tree.folders.front().name = line.mid(eq + 1);
            return;
        }
        // An entry needs a name; anything else (blank lines included) is skipped.
        if (eq <= 0)
            return;
        tree.folders[size_t(open.back())].entries.push_back({line.first(eq), line.mid(eq + 1)});
    });
    return tree;
}

Tree parse(QByteArrayView bytes) { return parseText(text::decode(bytes)); }

Result<Tree> readFile(const QString &path)
{
    const regularfile::Read file = regularfile::read(path);
    if (!file)
        return Result<Tree>::failure(file.reason);
    return parse(file.bytes);
}

QByteArray newFileContent() { return QByteArrayLiteral(";Tunovia  Index File\r\n"); }

QString entryLine(const QString &name, const QString &path) { return name + QLatin1Char('=') + path; }

QStringList folderLines(const QString &name) { return {QStringLiteral(";;{ ") + name, QStringLiteral(";;}")}; }

bool isValidEntryName(const QString &name)
{
    // A name with "=" would be split there on reading; a name that starts
    // with ";" would read as a comment; TABs and line ends vanish or split.
    if (name.isEmpty() || name.startsWith(QLatin1Char(';')))
        return false;
    for (QChar c : name)
        if (c == QLatin1Char('=') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return false;
    return true;
}

QByteArray insertLines(const QByteArray &fileIn, int target, const QStringList &lines)
{
    if (target < 0 || lines.isEmpty())
        return fileIn;

    QByteArray file = fileIn;
    const QString joined = lines.join(QLatin1Char('\n'));
    text::Encoding encoding = text::detect(file);
    bool ascii = true;
    for (char c : file)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    // Encode the new lines like the file; convert a CP932 file to UTF-8 only
    // when it cannot hold them.
    auto encodeLine = [&](const QString &line) -> QByteArray {
        if (ascii)
            return text::fitsCp932(joined) ? text::toCp932(line) : line.toUtf8();
        if (encoding == text::Encoding::Cp932)
            return text::toCp932(line);
        return line.toUtf8();
    };
    if (!ascii && encoding == text::Encoding::Cp932 && !text::fitsCp932(joined)) {
        file = text::decode(file, text::Encoding::Cp932).toUtf8();
        encoding = text::Encoding::Utf8;
    }

    QByteArray bom;
    if (file.startsWith("\xEF\xBB\xBF")) {
        bom = file.first(3);
        file.remove(0, 3);
    }

    auto newBlock = [&](int tabs) {
        QByteArray out;
        for (const QString &l : lines) {
            out.append(QByteArray(tabs, '\t'));
            out.append(encodeLine(l));
            out.append("\r\n");
        }
        return out;
    };

    QByteArray out = bom;
    out.reserve(file.size() + 256);
    int count = 0;
    bool inserted = false;
    qsizetype pos = 0;
    const qsizetype n = file.size();
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && file[end] != '\n' && file[end] != '\r')
            ++end;
        qsizetype next = end;
        if (next < n)
            next += (file[next] == '\r' && next + 1 < n && file[next + 1] == '\n') ? 2 : 1;
        const QByteArrayView line(file.constData() + pos, end - pos);
        int tabs = 0;
        QByteArray stripped;
        stripped.reserve(line.size());
        for (char c : line) {
            if (c == '\t')
                ++tabs;
            else
                stripped.append(c);
        }
        if (count == target && !inserted) {
            out.append(newBlock(tabs));
            inserted = true;
        }
        if (stripped.startsWith(";;{"))
            ++count;
        out.append(file.constData() + pos, next - pos);
        pos = next;
    }
    // The target folder's start line was the last line (or the file is empty):
    // its first lines go at the end.
    if (!inserted && count == target) {
        if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
            out.append("\r\n");
        out.append(newBlock(0));
    }
    return out;
}

Result<> saveFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Result<>::failure(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return Result<>::failure(error);
    }
    if (!file.commit())
        return Result<>::failure(file.errorString());
    return {};
}

void sortOnePass(QStringList &names, QStringList &paths)
{
    std::vector<QByteArray> keys;
    keys.reserve(size_t(names.size()));
    for (const QString &n : names)
        keys.push_back(text::toCp932(n));
    const bool withPaths = paths.size() == names.size();
    for (qsizetype i = 0; i + 1 < names.size(); ++i) {
        // QByteArray compares as unsigned bytes, a prefix first.
        if (keys[size_t(i)] > keys[size_t(i + 1)]) {
            std::swap(keys[size_t(i)], keys[size_t(i + 1)]);
            names.swapItemsAt(i, i + 1);
            if (withPaths)
                paths.swapItemsAt(i, i + 1);
        }
    }
}

} // namespace indexfile
