// An asynchronous creation finished as the runtime finishes it: later, from the message
// loop, with the result the test set for the step and, on S_OK, a new object (none
// when the test's flag asks for a null one).
#pragma once

#include "ComPtr.h"
#include "FaultPlan.h"
#include "UiQueue.h"

template <typename Interface, typename Object, typename Handler>
void CompleteLater(Handler* handler, const wchar_t* resultStep, const wchar_t* nullFlag)
{
    ComPtr<Handler> completion(handler);
    ui_queue::Post([completion, resultStep, nullFlag] {
        const HRESULT result = fault_plan::StepResult(resultStep);
        ComPtr<Interface> created;
        if (result == S_OK && !fault_plan::Flag(nullFlag))
            created = ComPtr<Interface>::Adopt(new Object);
        completion->Invoke(result, created.Get());
    });
}
