#include "cvbaseservice/icvproductmeta.h"

std::shared_ptr<ICVProductMeta> ICVProductMeta::MallocProductMeta(const std::string& productId)
{
    return std::make_shared<ICVProductMeta>(productId);
}
