#include "driverinfo/CMisc1.h"

#include "driverinfo/Misc1Model.h"

namespace veltro {

CMisc1::CMisc1(Misc1Model& model, QWidget* parent) : CInfoPage(model, parent) {}

void CMisc1::OnInitDialog() {
    layOutFieldsAndChecks(1, 4);
}

} // namespace veltro
