#include "app/forms/FormSkin.h"

#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/controls/bsSkinExCtrls.h"
#include "skin/frame/bsSkinFormFrame.h"
#include "skin/menus/bsSkinMenus.h"

void LinkFormSkin(TComponent* ARoot, TbsSkinData* ASkinData)
{
    for (int i = 0; i < ARoot->ComponentCount(); ++i) {
        TComponent* c = ARoot->Components(i);
        if (auto* a = dynamic_cast<TbsSkinControl*>(c)) a->SetSkinData(ASkinData);
        else if (auto* b = dynamic_cast<TbsSkinCustomEdit*>(c)) b->SetSkinData(ASkinData);
        else if (auto* p = dynamic_cast<TbsSkinPageControl*>(c)) p->SetSkinData(ASkinData);
        else if (auto* v = dynamic_cast<TbsSkinCustomListView*>(c)) v->SetSkinData(ASkinData);
        else if (auto* l = dynamic_cast<TbsSkinStdLabel*>(c)) l->SetSkinData(ASkinData);
        else if (auto* t = dynamic_cast<TbsSkinTextLabel*>(c)) t->SetSkinData(ASkinData);
        else if (auto* g = dynamic_cast<TbsGraphicSkinControl*>(c)) g->SetSkinData(ASkinData);
        else if (auto* f = dynamic_cast<TbsSkinFormFrame*>(c)) f->SetSkinData(ASkinData);
        else if (auto* u = dynamic_cast<TbsSkinPopupMenu*>(c)) u->SetSkinData(ASkinData);
        LinkFormSkin(c, ASkinData);
    }
}
