#include "platform/fakemediadevice.h"

#include <QFileInfo>

FakeMediaDevice::FakeMediaDevice(bool manualClock) : m_manual(manualClock) {}

bool FakeMediaDevice::open(const QString &file)
{
    close();
    if (m_noOutput) {
        m_error = NoOutputDevice;
        return false;
    }
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile()) {
        m_error = FileNotFound;
        return false;
    }
    if (file.endsWith(QLatin1String(".bad"), Qt::CaseInsensitive)) {
        m_error = UnsupportedFile;
        return false;
    }
    m_open = true;
    m_file = file;
    m_length = m_lengthOverride >= 0 ? m_lengthOverride : lengthForSize(info.size());
    m_base = 0;
    m_history.append(file);
    m_error = NoError;
    return true;
}

void FakeMediaDevice::close()
{
    m_open = false;
    m_playing = false;
    m_file.clear();
    m_length = 0;
    m_base = 0;
    m_error = NoError;
}

qint64 FakeMediaDevice::elapsed() const { return m_manual ? m_manualElapsed : m_clock.elapsed(); }

qint64 FakeMediaDevice::position() const
{
    if (!m_open)
        return 0;
    const qint64 pos = m_playing ? m_base + elapsed() : m_base;
    return qMin(pos, m_length);
}

bool FakeMediaDevice::isPlaying() const { return m_open && m_playing && position() < m_length; }

bool FakeMediaDevice::play()
{
    if (!m_open) {
        m_error = NotOpen;
        return false;
    }
    m_base = position();
    if (m_base >= m_length)
        m_base = 0; // playing at the end starts over, as the real device does
    m_playing = true;
    m_manualElapsed = 0;
    m_clock.start();
    m_error = NoError;
    return true;
}

bool FakeMediaDevice::stop()
{
    if (!m_open) {
        m_error = NotOpen;
        return false;
    }
    m_base = position();
    m_playing = false;
    m_error = NoError;
    return true;
}

bool FakeMediaDevice::seek(qint64 ms)
{
    if (!m_open) {
        m_error = NotOpen;
        return false;
    }
    m_base = qBound<qint64>(0, ms, m_length);
    m_manualElapsed = 0;
    m_clock.start();
    m_error = NoError;
    return true;
}

bool FakeMediaDevice::seekToEnd()
{
    if (!m_open) {
        m_error = NotOpen;
        return false;
    }
    m_playing = false;
    m_base = m_length;
    m_error = NoError;
    return true;
}

void FakeMediaDevice::advance(qint64 ms) { m_manualElapsed += ms; }
