#include "scheduled_start.h"

#include <taskschd.h>

#include "job_start.h"
#include "win32/owners.h"

namespace zv {

namespace {

// The scheduler of this computer as the calling user, and its root folder.
HRESULT connect(ComRef<ITaskService>& service, ComRef<ITaskFolder>& folder) {
  HRESULT hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                service.putVoid());
  if (FAILED(hr)) return hr;
  VARIANT none;
  VariantInit(&none);
  hr = service->Connect(none, none, none, none);
  if (FAILED(hr)) return hr;
  Bstr root(L"\\");
  return service->GetFolder(root.get(), folder.put());
}

std::wstring endOfFirstDay(const StartMoment& moment) {
  // The start boundary's own day, last minute: a daily trigger that ends
  // there fires on the first day only.
  StartMoment end = moment;
  end.hour = 23;
  end.minute = 59;
  return startBoundary(end);
}

// One start at `moment`: a one-time trigger where the scheduler has them; a
// scheduler that offers only daily triggers (Wine's) gets a daily trigger
// that ends before its second day, which starts the program the same once.
// Where even the end cannot be set (Wine again), the daily start remains:
// the player removes it ("del") when its on timer fires.
HRESULT addStartTrigger(ITaskDefinition* task, const StartMoment& moment) {
  ComRef<ITriggerCollection> triggers;
  HRESULT hr = task->get_Triggers(triggers.put());
  if (FAILED(hr)) return hr;
  Bstr boundary(startBoundary(moment).c_str());
  ComRef<ITrigger> trigger;
  hr = triggers->Create(TASK_TRIGGER_TIME, trigger.put());
  if (hr != E_NOTIMPL) return FAILED(hr) ? hr : trigger->put_StartBoundary(boundary.get());

  if (FAILED(hr = triggers->Create(TASK_TRIGGER_DAILY, trigger.put()))) return hr;
  if (FAILED(hr = trigger->put_StartBoundary(boundary.get()))) return hr;
  Bstr end(endOfFirstDay(moment).c_str());
  hr = trigger->put_EndBoundary(end.get());
  if (FAILED(hr) && hr != E_NOTIMPL) return hr;
  ComRef<IDailyTrigger> daily;
  if (FAILED(hr = trigger->QueryInterface(IID_IDailyTrigger, daily.putVoid()))) return hr;
  return daily->put_DaysInterval(1);
}

HRESULT addProgramAction(ITaskDefinition* task, const std::wstring& program) {
  ComRef<IActionCollection> actions;
  HRESULT hr = task->get_Actions(actions.put());
  if (FAILED(hr)) return hr;
  ComRef<IAction> action;
  hr = actions->Create(TASK_ACTION_EXEC, action.put());
  if (FAILED(hr)) return hr;
  ComRef<IExecAction> exec;
  hr = action->QueryInterface(IID_IExecAction, exec.putVoid());
  if (FAILED(hr)) return hr;
  Bstr path(program.c_str());
  return exec->put_Path(path.get());
}

// Wake the computer for the start, and never stop the program on battery or
// after the scheduler's default three days. These are wishes: a scheduler
// that lacks one of them still starts the program, so they do not fail "add".
void preferWakingStart(ITaskDefinition* task) {
  ComRef<ITaskSettings> settings;
  if (FAILED(task->get_Settings(settings.put()))) return;
  settings->put_WakeToRun(VARIANT_TRUE);
  settings->put_DisallowStartIfOnBatteries(VARIANT_FALSE);
  settings->put_StopIfGoingOnBatteries(VARIANT_FALSE);
  Bstr noLimit(L"PT0S");
  settings->put_ExecutionTimeLimit(noLimit.get());
}

bool isMissing(HRESULT hr) {
  return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

// True when the registered task reads back with a trigger and an action:
// Wine's scheduler registers a task but stores neither.
bool keepsTriggerAndProgram(ITaskFolder* folder, BSTR name) {
  ComRef<IRegisteredTask> registered;
  ComRef<ITaskDefinition> stored;
  if (FAILED(folder->GetTask(name, registered.put())) || FAILED(registered->get_Definition(stored.put())))
    return false;
  ComRef<ITriggerCollection> triggers;
  ComRef<IActionCollection> actions;
  LONG triggerCount = 0, actionCount = 0;
  return SUCCEEDED(stored->get_Triggers(triggers.put())) && SUCCEEDED(triggers->get_Count(&triggerCount)) &&
         SUCCEEDED(stored->get_Actions(actions.put())) && SUCCEEDED(actions->get_Count(&actionCount)) &&
         triggerCount == 1 && actionCount == 1;
}

HRESULT registerTask(ITaskService* service, ITaskFolder* folder, BSTR name, const StartMoment& moment,
                     const std::wstring& program) {
  ComRef<ITaskDefinition> task;
  HRESULT hr = service->NewTask(0, task.put());
  if (FAILED(hr)) return hr;
  if (FAILED(hr = addStartTrigger(task.get(), moment))) return hr;
  if (FAILED(hr = addProgramAction(task.get(), program))) return hr;
  preferWakingStart(task.get());
  VARIANT none;
  VariantInit(&none);
  ComRef<IRegisteredTask> registered;
  return folder->RegisterTaskDefinition(name, task.get(), TASK_CREATE_OR_UPDATE, none, none,
                                        TASK_LOGON_INTERACTIVE_TOKEN, none, registered.put());
}

}  // namespace

HRESULT registerScheduledStart(const StartMoment& moment, const std::wstring& program) {
  ComRef<ITaskService> service;
  ComRef<ITaskFolder> folder;
  Bstr name(kScheduledStartTask);
  HRESULT hr = connect(service, folder);
  if (SUCCEEDED(hr)) hr = registerTask(service.get(), folder.get(), name.get(), moment, program);
  if (SUCCEEDED(hr) && keepsTriggerAndProgram(folder.get(), name.get())) {
    removeJobStart();  // one scheduled start only: none left from the older interface
    return S_OK;
  }
  // No usable newer scheduler: drop what it kept (a task that would never
  // start anything) and schedule through the older interface.
  if (folder) folder->DeleteTask(name.get(), 0);
  return registerJobStart(moment, program);
}

HRESULT removeScheduledStart() {
  ComRef<ITaskService> service;
  ComRef<ITaskFolder> folder;
  HRESULT taskResult = connect(service, folder);
  if (SUCCEEDED(taskResult)) {
    Bstr name(kScheduledStartTask);
    taskResult = folder->DeleteTask(name.get(), 0);
    if (isMissing(taskResult)) taskResult = S_OK;
  }
  HRESULT jobResult = removeJobStart();
  // A system with only one of the two interfaces has nothing in the other.
  if (FAILED(taskResult) && SUCCEEDED(jobResult)) return jobResult;
  if (FAILED(jobResult) && SUCCEEDED(taskResult)) return taskResult;
  return FAILED(taskResult) ? taskResult : S_OK;
}

}  // namespace zv
