#include "tools/mAVIDecs.h"

#include "platform/forms/DoEvents.h"
#include "platform/forms/RuntimeError.h"
#include "tools/frmConvertAvi.h"

namespace mAVIDecs {

bool fCancelSave = false;

avifile::HRESULT SaveProgressCallback(int percent)
{
    if (frmConvertAvi* form = forms::Instances::Existing<frmConvertAvi>()) {
        form->txtStatus->setText(QString::number(percent) + QStringLiteral(" percent of file written"));
        form->txtStatus->repaint();
        forms::IgnoreErrors run;
        run([&] { form->ProgressBar1->setValue(percent); });
    }
    forms::DoEvents();
    return fCancelSave ? avifile::AVIERR_USERABORT : avifile::AVIERR_OK;
}

} // namespace mAVIDecs
