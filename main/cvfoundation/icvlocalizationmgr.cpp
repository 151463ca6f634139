#include "cvfoundation/icvlocalizationmgr.h"

std::shared_ptr<ICVLocalizationMgr> ICVLocalizationMgr::SharedLocalizationMgr()
{
    static const std::shared_ptr<ICVLocalizationMgr> shared = std::make_shared<ICVLocalizationMgr>();
    return shared;
}

void ICVLocalizationMgr::SetLanguage(int languageCode)
{
    languageCode_ = languageCode;
}

int ICVLocalizationMgr::Language() const
{
    return languageCode_;
}
