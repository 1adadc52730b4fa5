#include "driverinfo/CMisc2.h"

#include "driverinfo/Misc2Model.h"

namespace veltro {

CMisc2::CMisc2(Misc2Model& model, QWidget* parent) : CInfoPage(model, parent) {}

void CMisc2::OnInitDialog() {
    layOutFieldsAndChecks(2, 4);
}

} // namespace veltro
