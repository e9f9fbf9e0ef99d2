// TDataModule: a non-visual container of components (queries, connections)
// owned by the application, with creation and destruction handlers.
#pragma once

#include "toolkit/core/Component.h"

namespace tk {

class TDataModule : public TComponent {
    TK_CLASS(TDataModule)
public:
    explicit TDataModule(TComponent* owner);
    // Runs OnCreate once the module and its components exist.
    virtual void afterConstruction();
    void beforeDestruction() override;

    Handler OnCreate, OnDestroy;

private:
    bool destroyFired_ = false;
};

}  // namespace tk
