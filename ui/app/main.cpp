// GGJGMLK: the data module on GGJGMLK.DB in the working directory, then the main window.
#include "model/TMainDM.h"
#include "ui/app/Application.h"
#include "ui/app/Startup.h"
#include "ui/app/TMainForm.h"

int main(int argc, char** argv) {
    mlk::ui::Application app(argc, argv);
    const std::unique_ptr<mlk::TMainDM> dm = mlk::ui::OpenDataModule(mlk::TMainDM::DefaultPath());
    if (!dm)
        return 1;
    mlk::ui::TMainForm mainForm(*dm);
    mainForm.show();
    return app.exec();
}
