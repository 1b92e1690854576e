#include "kit/support/OrvaneUpdate.h"

namespace orvane {

OrvaneUpdateStatusCenter::OrvaneUpdateStatusCenter(std::shared_ptr<OrvaneUpdateChecking> checker, QObject *parent)
    : QObject(parent), m_checker(std::move(checker))
{
    Q_ASSERT(m_checker);
}

} // namespace orvane
