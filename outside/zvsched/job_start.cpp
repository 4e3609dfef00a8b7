#include "job_start.h"

#include <mstask.h>

#include "scheduled_start.h"
#include "win32/owners.h"

namespace zv {

namespace {

HRESULT connect(ComRef<ITaskScheduler>& scheduler) {
  return CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                          scheduler.putVoid());
}

bool isMissing(HRESULT hr) {
  return hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

}  // namespace

HRESULT registerJobStart(const StartMoment& moment, const std::wstring& program) {
  ComRef<ITaskScheduler> scheduler;
  HRESULT hr = connect(scheduler);
  if (FAILED(hr)) return hr;
  hr = scheduler->Delete(kScheduledStartTask);  // a new work item cannot take an existing name
  if (FAILED(hr) && !isMissing(hr)) return hr;

  ComRef<ITask> job;
  hr = scheduler->NewWorkItem(kScheduledStartTask, CLSID_CTask, IID_ITask,
                              reinterpret_cast<IUnknown**>(job.put()));
  if (FAILED(hr)) return hr;
  if (FAILED(hr = job->SetApplicationName(program.c_str()))) return hr;
  // Wake the computer for the start.
  job->SetFlags(TASK_FLAG_SYSTEM_REQUIRED);

  WORD index = 0;
  ComRef<ITaskTrigger> trigger;
  if (FAILED(hr = job->CreateTrigger(&index, trigger.put()))) return hr;
  TASK_TRIGGER t{};
  t.cbTriggerSize = sizeof(t);
  t.wBeginYear = static_cast<WORD>(moment.year);
  t.wBeginMonth = static_cast<WORD>(moment.month);
  t.wBeginDay = static_cast<WORD>(moment.day);
  t.wStartHour = static_cast<WORD>(moment.hour);
  t.wStartMinute = static_cast<WORD>(moment.minute);
  t.TriggerType = TASK_TIME_TRIGGER_ONCE;
  if (FAILED(hr = trigger->SetTrigger(&t))) return hr;

  ComRef<IPersistFile> file;
  if (FAILED(hr = job->QueryInterface(IID_IPersistFile, file.putVoid()))) return hr;
  return file->Save(nullptr, TRUE);
}

HRESULT removeJobStart() {
  ComRef<ITaskScheduler> scheduler;
  HRESULT hr = connect(scheduler);
  if (FAILED(hr)) return hr;
  hr = scheduler->Delete(kScheduledStartTask);
  return isMissing(hr) ? S_OK : hr;
}

}  // namespace zv
