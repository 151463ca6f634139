#pragma once

#include <QString>

#include <memory>

class ICVProductMeta;

// Brings up, once per process, the folders, the log and the maker's services,
// and keeps what must live as long as the program.
class ApplicationServices
{
public:
    // The process-wide holder; null until startUp() has run.
    static ApplicationServices* instance();
    // Runs the start-up sequence the first time; later calls return the holder.
    static ApplicationServices* startUp();

    std::shared_ptr<ICVProductMeta> productMeta() const { return productMeta_; }

    static QString productId();
    static QString productVersion();
    static QString vendorName();
    static QString crashReportEndpoint();
    static QString windowIconPath();

private:
    ApplicationServices();

    std::shared_ptr<ICVProductMeta> productMeta_;
};
