#include "cvbaseservice/icvsentryservice.h"

#include "cvbaseservice/icverror.h"

#include <mutex>

namespace {
std::mutex& endpointMutex()
{
    static std::mutex m;
    return m;
}
std::string& endpointStore()
{
    static std::string endpoint;
    return endpoint;
}
} // namespace

std::shared_ptr<const ICVError> ICVSentryService::StartSentryWith(const std::string& endpoint)
{
    std::lock_guard<std::mutex> lock(endpointMutex());
    endpointStore() = endpoint;
    return nullptr;
}

std::string ICVSentryService::Endpoint()
{
    std::lock_guard<std::mutex> lock(endpointMutex());
    return endpointStore();
}
