// Accessors that repaint: the field lives in the control (bits 0..9 of a pane accessor's
// param); the peer draws from the control, so a change only needs a repaint.
#include "ui/controls/control_routines.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"

namespace {

constexpr int32_t kControlOffsetMask = 0x3FF;

int32_t control_offset(int32_t param) { return param & kControlOffsetMask; }

void repaint(RuntimeObject* self)
{
    if (self && qv::ui::is_control(self)) {
        if (qv::ui::SubPane* pane = qv::ui::control_fields(self)->paneInstance)
            pane->Invalidate(true);
    }
}

}  // namespace

extern "C" {

void intInvalidateSetter(RuntimeObject* self, int32_t param, int32_t value)
{
    intSetter(self, param, value);
    repaint(self);
}

void boolInvalidateSetter(RuntimeObject* self, int32_t param, int32_t value)
{
    boolSetter(self, param, value);
    repaint(self);
}

RuntimeString* paneStringGetter(RuntimeObject* self, int32_t param)
{
    return stringGetter(self, control_offset(param));
}
int32_t paneBoolGetter(RuntimeObject* self, int32_t param) { return boolGetter(self, control_offset(param)); }
int32_t paneIntGetter(RuntimeObject* self, int32_t param) { return intGetter(self, control_offset(param)); }
RuntimeObject* paneObjGetter(RuntimeObject* self, int32_t param) { return objGetter(self, control_offset(param)); }
int32_t paneShortGetter(RuntimeObject* self, int32_t param) { return shortGetter(self, control_offset(param)); }

void paneStringSetter(RuntimeObject* self, int32_t param, RuntimeString* value)
{
    stringSetter(self, control_offset(param), value);
    repaint(self);
}

void paneBoolSetter(RuntimeObject* self, int32_t param, int32_t value)
{
    boolSetter(self, control_offset(param), value);
    repaint(self);
}

void paneIntSetter(RuntimeObject* self, int32_t param, int32_t value)
{
    intSetter(self, control_offset(param), value);
    repaint(self);
}

void paneObjSetter(RuntimeObject* self, int32_t param, RuntimeObject* value)
{
    objSetter(self, control_offset(param), value);
    repaint(self);
}

void paneShortSetter(RuntimeObject* self, int32_t param, int32_t value)
{
    shortSetter(self, control_offset(param), value);
    repaint(self);
}

}  // extern "C"
