#pragma once

#include <memory>

// The maker's localisation manager: keeps the language code it is given. Nothing
// in this program reads it back except the tests and diagnostics.
class ICVLocalizationMgr
{
public:
    static std::shared_ptr<ICVLocalizationMgr> SharedLocalizationMgr();

    void SetLanguage(int languageCode);
    int Language() const;

private:
    int languageCode_ = 0;
};
