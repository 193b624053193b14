#!/usr/bin/env python3
"""Regenerates the demo library: short tones as MP3 files with ID3v1 tags,
album files, lyrics files and the index file. Needs sox and lame; the output
is kept in the repository, so neither is needed to build or run Tunovia."""
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.dirname(HERE)

# (folder, file, title, artist, album, comment, year, genre byte, genre name, freq, seconds, lyrics)
ALBUMS = {
    "first": ("はじめてのアルバム", "Tunovia Demo Band", [
        ("01 Morning.mp3", "Morning Tone", "Tunovia Demo Band", "A440 sine", "2026", 26, "Ambient", 440, 3, [
            "Morning Tone",
            "[00:00:00]The first light",
            "[00:01:00]comes over the hill",
            "[00:02:00]and the tone goes on",
        ]),
        ("02 夕暮れ.mp3", "夕暮れ", "デモ演奏者", "やさしい音", "2026", 146, "JPop", 523, 3, [
            "夕暮れ",
            "[00:00:00]夕暮れの空に",
            "[00:01:00]ひとつの音が",
            "[00:02:00]響いている",
        ]),
        ("03 Third Step.mp3", "Third Step", "Tunovia Demo Band", "", "2026", 17, "Rock", 330, 2, None),
    ]),
    "second": ("Second Album", "Square Wave Trio", [
        ("01 Square One.mp3", "Square One", "Square Wave Trio", "square", "2025", 52, "Electronic", 220, 2, [
            "Square One",
            "[00:00:00]One",
            "[00:00:50]Two",
            "[00:01:00]Three",
            "no time tag on this line",
        ]),
        ("02 Low Hum.mp3", "Low Hum", "Square Wave Trio", "", "2025", 52, "Electronic", 110, 2, None),
        ("03 High Note.mp3", "High Note", "Square Wave Trio", "", "2025", 52, "Electronic", 880, 2, None),
    ]),
    "live": ("ライブ録音", "ライブバンド", [
        ("01 開演.mp3", "開演", "ライブバンド", "拍手のかわり", "2024", 13, "Pop", 392, 2, [
            "開演",
            "[00:00:00]みなさん",
            "[00:01:00]こんばんは",
        ]),
        ("02 Encore.mp3", "Encore", "ライブバンド", "", "2024", 13, "Pop", 494, 2, None),
        ("03 Finale.mp3", "Finale", "ライブバンド", "", "2024", 13, "Pop", 587, 3, None),
    ]),
    "classics": ("Classics", "Pure Tones", [
        ("01 Do.mp3", "Do", "Pure Tones", "C4", "2023", 32, "Classical", 262, 2, None),
        ("02 Mi.mp3", "Mi", "Pure Tones", "E4", "2023", 32, "Classical", 330, 2, None),
        ("03 So.mp3", "So", "Pure Tones", "G4", "2023", 32, "Classical", 392, 2, [
            "So",
            "[00:00:00]sol",
            "[00:01:00]sol sol",
        ]),
    ]),
}


def field(text, width):
    data = text.encode("cp932")[:width]
    # never cut a double-byte character
    while True:
        try:
            data.decode("cp932")
            break
        except UnicodeDecodeError:
            data = data[:-1]
    if len(data) < width:
        data += b"\0"
    return data + b" " * (width - len(data))


def tag(title, artist, album, comment, year, genre):
    return (b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4)
            + field(comment, 30) + bytes([genre]))


def main():
    index = [";Tunovia  Index File", ";title=Tunovia デモライブラリ", ";root=ライブラリ"]
    groups = {"スタジオ": ["first", "second"], "ライブ": ["live"], "クラシック": ["classics"]}
    for folder_name, keys in groups.items():
        index.append(";;{ " + folder_name)
        for key in keys:
            index.append("\t%s=albums/%s.mdt" % (ALBUMS[key][0], key))
        if folder_name == "スタジオ":
            index.append("\t;;{ 未発表")
            index.append("\t;;}")
        index.append(";;}")
    os.makedirs(os.path.join(DEMO, "albums"), exist_ok=True)
    with open(os.path.join(DEMO, "tunovia.ini"), "wb") as f:
        f.write(("\r\n".join(index) + "\r\n").encode("cp932"))

    for key, (album, _artist, tracks) in ALBUMS.items():
        folder = os.path.join(DEMO, "music", key)
        os.makedirs(folder, exist_ok=True)
        lines = []
        for (name, title, artist, comment, year, genre, genre_name, freq, secs, lyrics) in tracks:
            path = os.path.join(folder, name)
            with tempfile.TemporaryDirectory() as tmp:
                wav = os.path.join(tmp, "t.wav")
                subprocess.run(["sox", "-n", "-r", "22050", "-c", "1", wav, "synth", str(secs), "sine", str(freq),
                                "fade", "0.05", str(secs), "0.3", "vol", "0.4"], check=True)
                subprocess.run(["lame", "--silent", "-b", "32", "-m", "m", "--noreplaygain", "--nohist",
                                wav, path], check=True)
            # strip whatever tags lame wrote; the ID3v1 tag is ours (CP932)
            with open(path, "rb") as f:
                data = f.read()
            if data[:3] == b"ID3":
                size = ((data[6] & 0x7F) << 21) | ((data[7] & 0x7F) << 14) | ((data[8] & 0x7F) << 7) | (data[9] & 0x7F)
                data = data[10 + size:]
            if len(data) >= 128 and data[-128:-125] == b"TAG":
                data = data[:-128]
            data += tag(title, artist, album, comment, year, genre)
            with open(path, "wb") as f:
                f.write(data)
            size = len(data)
            rel = "../music/%s/%s" % (key, name)
            lines.append('"%s","%s","%s","%s","%s","%s","%s","%s","%s","%s","%s","%s","%s"' % (
                rel, name, title, artist, album, comment, genre_name, year, "", "", "", "", str(size)))
            if lyrics:
                with open(path[:-3] + "txt", "wb") as f:
                    f.write(("\r\n".join(lyrics) + "\r\n").encode("cp932"))
        with open(os.path.join(DEMO, "albums", key + ".mdt"), "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))


if __name__ == "__main__":
    main()
