// The list of running uploads.

#include "core.h"

#include "upload/uploadmodel.h"

UploadModel *Core::uploadModel()
{
    if (!m_uploadModel)
        m_uploadModel = new UploadModel(this);
    return m_uploadModel;
}
