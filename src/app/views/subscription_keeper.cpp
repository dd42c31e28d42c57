// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/views/subscription_keeper.h"

namespace tessaro {
namespace {

// A child object holds the subscription; Qt deletes it with its parent.
class SubscriptionHolder final : public QObject {
public:
    SubscriptionHolder(QObject& owner, Subscription subscription)
        : QObject(&owner), m_subscription(std::move(subscription)) {}

private:
    Subscription m_subscription;
};

}  // namespace

void keepWhileAlive(QObject& owner, Subscription subscription) {
    new SubscriptionHolder(owner, std::move(subscription));
}

}  // namespace tessaro
