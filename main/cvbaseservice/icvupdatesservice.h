#pragma once

#include <functional>
#include <memory>

class ICVProductMeta;

// The update service. This build talks to no update server: a check tells the
// user which version is installed and that nothing is looked up.
class ICVUpdatesService
{
public:
    static std::shared_ptr<ICVUpdatesService> Shared();

    // Keeps the product record; the flag is kept alongside it.
    void SetProductMeta(const std::shared_ptr<ICVProductMeta>& meta, bool enabled);
    std::shared_ptr<ICVProductMeta> ProductMeta() const { return meta_; }
    bool Enabled() const { return enabled_; }

    // Shows the answer in a message box over the active window; the callback,
    // when given, is called afterwards with false (no newer version known).
    void CheckForUpdates(const std::function<void(bool)>& onResult = nullptr);

private:
    std::shared_ptr<ICVProductMeta> meta_;
    bool enabled_ = false;
};
