// An asynchronous creation as the runtime runs one: the call takes a completion handler,
// fails at once when the test says so, and otherwise finishes later, from the message
// loop, with the result the test set for it and, on S_OK, a new object (none when the
// test's flag asks for a null one).
#pragma once

#include <string>

#include "ArgumentCheck.h"
#include "CallLog.h"
#include "DoubleObject.h"
#include "FaultPlan.h"
#include "ProgramHandler.h"
#include "UiQueue.h"

// The names one creation goes by.
struct Creation {
    const wchar_t* handlerInterface;   // the published completion handler
    const wchar_t* callStep;           // the test's fault for the call itself
    const wchar_t* resultStep;         // the test's result for the completion
    const wchar_t* nullFlag;           // the test's flag for a null object
};

template <typename Object>
void CompleteLater(const ProgramHandler& completion, const wchar_t* resultStep, const wchar_t* nullFlag)
{
    ui_queue::Post([completion, resultStep, nullFlag] {
        const HRESULT result = fault_plan::StepResult(resultStep);
        Reference<Object> created;
        if (result == S_OK && !fault_plan::Flag(nullFlag))
            created = Reference<Object>::Adopt(new Object);
        completion.Invoke(result, created.Pointer());
    });
}

// Logs `call` and starts the creation, when `handler` is a completion handler of the
// published interface.
template <typename Object>
HRESULT StartCreation(const std::wstring& call, void* handler, const Creation& creation)
{
    const ProgramHandler completion(handler, creation.handlerInterface);
    if (!completion)
        return Rejected(call, std::wstring(L"the handler is no ") + creation.handlerInterface, E_NOINTERFACE);
    call_log::Write(call);
    const HRESULT fault = fault_plan::StepResult(creation.callStep);
    if (FAILED(fault))
        return fault;
    CompleteLater<Object>(completion, creation.resultStep, creation.nullFlag);
    return S_OK;
}
