// The registry file older versions kept their settings in.
#include "platform/registry.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const LegacyRegistry reg(QByteArrayView(data, qsizetype(size)));
    const QString key = QStringLiteral("Software\\Ravlen\\Tunovia\\Setting");
    (void)reg.hasKey(key);
    (void)reg.string(key, QStringLiteral("Winamp"));
    (void)reg.string(key, QString());
    (void)reg.integer(key, QStringLiteral("DrawInterval"));
    return 0;
}
