#pragma once

#include "driverinfo/CInfoPage.h"

namespace veltro {

class Misc1Model;

// Transactions, cursor behaviour, isolation levels, bookmarks, locks and sensitivity.
class CMisc1 : public CInfoPage {
    Q_OBJECT
public:
    explicit CMisc1(Misc1Model& model, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
};

} // namespace veltro
