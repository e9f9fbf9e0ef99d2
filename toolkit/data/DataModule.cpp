// Data modules.
#include "toolkit/data/DataModule.h"

#include "toolkit/core/PropertyTable.h"

namespace tk {

TK_DEFINE_CLASS(TDataModule, TComponent)
{
    t.event("OnCreate", EventKind::Notify, &TDataModule::OnCreate);
    t.event("OnDestroy", EventKind::Notify, &TDataModule::OnDestroy);
}

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) {}

void TDataModule::afterConstruction()
{
    EventCall call;
    call.sender = this;
    OnCreate(call);
}

void TDataModule::beforeDestruction()
{
    TComponent::beforeDestruction();
    if (destroyFired_) return;
    destroyFired_ = true;
    EventCall call;
    call.sender = this;
    OnDestroy(call);
}

}  // namespace tk
