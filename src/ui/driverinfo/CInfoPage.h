#pragma once

#include <QIcon>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QCheckBox;
class QGridLayout;
class QLabel;

namespace veltro {

class InfoPageModel;

// A page of the driver information sheet over its model. The page builds its controls when
// its tab is first shown (its "window initialisation"); before that, refreshing asks the
// driver for the values alone.
class CInfoPage : public QWidget {
    Q_OBJECT
public:
    explicit CInfoPage(InfoPageModel& model, QWidget* parent = nullptr);
    ~CInfoPage() override;

    // Asks the driver again; a page whose controls exist shows the new values.
    virtual void RefreshInfo();
    bool windowExists() const { return initialised; }
    // Builds the controls now, as the first showing of the tab does.
    void ensureInitialised();

    // The images of the list items, shared by every page: a check mark for supported,
    // blank for not supported.
    static QIcon supportImage(bool supported);

protected:
    void showEvent(QShowEvent* event) override;
    // Builds the page's controls and fills them.
    virtual void OnInitDialog() = 0;
    // Copies the model's text fields and check states into their controls.
    virtual void copyFieldsToControls();

    // The model's text fields as labels and values, filling the columns one after another.
    QWidget* createFieldGrid(int columns);
    // The model's check box groups, side by side in rows of the given length.
    QWidget* createCheckGroups(int columns);
    // The whole page as the text fields above the check box groups, filled.
    void layOutFieldsAndChecks(int fieldColumns, int checkColumns);
    // A caption above a list.
    static QWidget* captioned(const QString& caption, QWidget* list);

    InfoPageModel& model;

private:
    std::vector<QWidget*> valueControls;
    std::vector<std::vector<QCheckBox*>> checkBoxes;
    bool initialised = false;

    static int pageInstances;
    static std::unique_ptr<std::array<QIcon, 2>> supportImages;
};

} // namespace veltro
