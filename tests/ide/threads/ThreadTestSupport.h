#pragma once

#include "ide/records/CampaignIDEProject.h"
#include "ide/records/CampaignIDEThread.h"

#include <QString>

#include <string>

namespace orvane::test {

// QString has no gtest printer; comparing as UTF-8 gives readable failure messages.
inline std::string utf8(const QString &text)
{
    return text.toStdString();
}

} // namespace orvane::test
