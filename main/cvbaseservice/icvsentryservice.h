#pragma once

#include <memory>
#include <string>

class ICVError;

// The crash reporter. Nothing is ever sent from this build: the endpoint is
// kept and a null error record is returned.
class ICVSentryService
{
public:
    static std::shared_ptr<const ICVError> StartSentryWith(const std::string& endpoint);
    static std::string Endpoint();

    ICVSentryService() = delete;
};
