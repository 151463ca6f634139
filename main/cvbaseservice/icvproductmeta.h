#pragma once

#include <memory>
#include <string>

// The product record handed to the update service.
class ICVProductMeta
{
public:
    static std::shared_ptr<ICVProductMeta> MallocProductMeta(const std::string& productId);

    explicit ICVProductMeta(std::string productId) : productId_(std::move(productId)) {}

    void SetVersion(const std::string& version) { version_ = version; }
    void SetVendor(const std::string& vendor) { vendor_ = vendor; }

    const std::string& ProductId() const { return productId_; }
    const std::string& Version() const { return version_; }
    const std::string& Vendor() const { return vendor_; }

private:
    std::string productId_;
    std::string version_;
    std::string vendor_;
};
