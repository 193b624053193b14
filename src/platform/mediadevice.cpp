#include "platform/mediadevice.h"

#include "platform/fakemediadevice.h"
#include "platform/qtmediadevice.h"

std::unique_ptr<MediaDevice> createMediaDevice(MediaDeviceKind kind)
{
    if (kind == MediaDeviceKind::Fake || qEnvironmentVariableIntValue("TUNOVIA_FAKE_MEDIA") == 1)
        return std::make_unique<FakeMediaDevice>();
    return std::make_unique<QtMediaDevice>();
}
