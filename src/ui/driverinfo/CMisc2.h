#pragma once

#include "driverinfo/CInfoPage.h"

namespace veltro {

class Misc2Model;

// Long data, NULLs, procedures, fetching, positioned operations, scrolling and name usage.
class CMisc2 : public CInfoPage {
    Q_OBJECT
public:
    explicit CMisc2(Misc2Model& model, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
};

} // namespace veltro
