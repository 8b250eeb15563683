#pragma once

#include <memory>

namespace qv::platform {

// Handle of a monitor or observer: destroying it ends the subscription.
class Subscription {
public:
    virtual ~Subscription() = default;
};

using SubscriptionPtr = std::unique_ptr<Subscription>;

} // namespace qv::platform
