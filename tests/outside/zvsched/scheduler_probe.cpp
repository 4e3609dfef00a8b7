#include "scheduler_probe.h"

#include <mstask.h>
#include <taskschd.h>

#include <cwchar>

#include "win32/owners.h"

namespace zvtest {

namespace {

bool connectRoot(zv::ComRef<ITaskFolder>& folder) {
  zv::ComRef<ITaskService> service;
  if (FAILED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                              service.putVoid())))
    return false;
  VARIANT none;
  VariantInit(&none);
  if (FAILED(service->Connect(none, none, none, none))) return false;
  zv::Bstr root(L"\\");
  return SUCCEEDED(service->GetFolder(root.get(), folder.put()));
}

}  // namespace

bool haveTaskScheduler() {
  zv::ComApartment com;
  zv::ComRef<ITaskFolder> folder;
  return connectRoot(folder);
}

std::optional<ListedTask> listedTask(const wchar_t* name) {
  zv::ComApartment com;
  zv::ComRef<ITaskFolder> folder;
  if (!connectRoot(folder)) return std::nullopt;
  zv::ComRef<IRegisteredTask> task;
  zv::Bstr taskName(name);
  if (FAILED(folder->GetTask(taskName.get(), task.put()))) return std::nullopt;
  zv::ComRef<ITaskDefinition> definition;
  if (FAILED(task->get_Definition(definition.put()))) return ListedTask{};

  ListedTask listed;
  zv::ComRef<ITriggerCollection> triggers;
  LONG count = 0;
  if (SUCCEEDED(definition->get_Triggers(triggers.put())) && SUCCEEDED(triggers->get_Count(&count))) {
    listed.triggerCount = count;
    zv::ComRef<ITrigger> first;
    if (count > 0 && SUCCEEDED(triggers->get_Item(1, first.put()))) {
      TASK_TRIGGER_TYPE2 type{};
      if (SUCCEEDED(first->get_Type(&type))) listed.triggerType = type;
      zv::Bstr end;
      if (SUCCEEDED(first->get_EndBoundary(end.put())) && end.get()) listed.endBoundary = end.get();
      zv::Bstr boundary;
      if (SUCCEEDED(first->get_StartBoundary(boundary.put())) && boundary.get()) listed.startBoundary = boundary.get();
    }
  }
  zv::ComRef<IActionCollection> actions;
  count = 0;
  if (SUCCEEDED(definition->get_Actions(actions.put())) && SUCCEEDED(actions->get_Count(&count))) {
    listed.actionCount = count;
    zv::ComRef<IAction> first;
    zv::ComRef<IExecAction> exec;
    if (count > 0 && SUCCEEDED(actions->get_Item(1, first.put())) &&
        SUCCEEDED(first->QueryInterface(IID_IExecAction, exec.putVoid()))) {
      zv::Bstr path;
      if (SUCCEEDED(exec->get_Path(path.put())) && path.get()) listed.program = path.get();
    }
  }
  return listed;
}

std::optional<ListedTask> listedJob(const wchar_t* name) {
  zv::ComApartment com;
  zv::ComRef<ITaskScheduler> scheduler;
  if (FAILED(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                              scheduler.putVoid())))
    return std::nullopt;
  zv::ComRef<ITask> job;
  if (FAILED(scheduler->Activate(name, IID_ITask, reinterpret_cast<IUnknown**>(job.put())))) return std::nullopt;
  ListedTask listed;
  WORD count = 0;
  if (SUCCEEDED(job->GetTriggerCount(&count))) listed.triggerCount = count;
  zv::ComRef<ITaskTrigger> trigger;
  TASK_TRIGGER t{};
  t.cbTriggerSize = sizeof(t);
  if (count > 0 && SUCCEEDED(job->GetTrigger(0, trigger.put())) && SUCCEEDED(trigger->GetTrigger(&t))) {
    listed.triggerType = t.TriggerType;
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02uT%02u:%02u:00", t.wBeginYear, t.wBeginMonth, t.wBeginDay, t.wStartHour,
                  t.wStartMinute);
    listed.startBoundary = text;
  }
  zv::UniqueCoTaskMem<LPWSTR> program;
  if (SUCCEEDED(job->GetApplicationName(program.put())) && program) {
    listed.program = program.get();
    listed.actionCount = 1;
  }
  return listed;
}

std::optional<ListedTask> scheduledStart(const wchar_t* name) {
  auto task = listedTask(name);
  if (task && task->triggerCount > 0) return task;
  if (auto job = listedJob(name)) return job;
  return task;
}

}  // namespace zvtest
