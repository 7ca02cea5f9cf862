#pragma once
#include <windows.h>

#include "ui/framework/core/LayeredChildren.h"

// The effect panel's batches of changes: while one is open the children
// hold back their renders, and at its end each changed child is drawn once.
class LumoEffectPanelRenderBatches {
public:
    virtual void BeginRenderBatch() = 0;
    virtual void EndRenderBatch() = 0;
    virtual bool RenderBatchOpen() const = 0;

protected:
    ~LumoEffectPanelRenderBatches() = default;
};

// A child whose renders wait while its panel's batch is open.
class LumoEffectPanelDeferredRender {
public:
    virtual ~LumoEffectPanelDeferredRender() = default;
    void JoinRenderBatches(LumoEffectPanelRenderBatches* batches) { m_pBatches = batches; }
    bool RenderPending() const { return m_bRenderPending; }

protected:
    bool Deferring() const { return m_pBatches && m_pBatches->RenderBatchOpen(); }

    // One batch around the handling of a mouse button, which toggles buttons
    // and may change the panel's effect.
    class InputBatch {
    public:
        explicit InputBatch(LumoEffectPanelRenderBatches* batches) : m_pBatches(batches)
        {
            if (m_pBatches) m_pBatches->BeginRenderBatch();
        }
        ~InputBatch()
        {
            if (m_pBatches) m_pBatches->EndRenderBatch();
        }
        InputBatch(const InputBatch&) = delete;
        InputBatch& operator=(const InputBatch&) = delete;

    private:
        LumoEffectPanelRenderBatches* m_pBatches;
    };

    LumoEffectPanelRenderBatches* m_pBatches = nullptr;
    bool m_bRenderPending = false;
};

// A styled control as a child of an effect panel: its window is layered only
// where layered child windows work; elsewhere it draws over the panel's
// rendered image and is painted in WM_PAINT.
template <typename Base>
class LumoEffectPanelChild : public Base, public LumoEffectPanelDeferredRender {
public:
    using Base::Base;

    void Render() override
    {
        if (Deferring()) {
            m_bRenderPending = true;
            return;
        }
        m_bRenderPending = false;
        Base::Render();
    }

protected:
    DWORD AdjustExStyle(DWORD exStyle) override { return ChildLayeredExStyle(Base::AdjustExStyle(exStyle)); }
    void OnLButtonDown(UINT keys, POINTS pt) override
    {
        const InputBatch batch(m_pBatches);
        Base::OnLButtonDown(keys, pt);
    }
    void OnLButtonUp(UINT keys, POINTS pt) override
    {
        const InputBatch batch(m_pBatches);
        Base::OnLButtonUp(keys, pt);
    }
};
