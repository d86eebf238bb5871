/* image_gui_timers.c: timers and threads as image code uses them, for run_gui_test.sh. After
 * Open, two Worker threads build strings and objects and count under a CriticalSection while
 * a repeating Ticker (20 ms) runs. A single timer, Once (100 ms), shows a box and reports
 * whether Ticker went on firing inside the box's modal loop. Once that is done and both
 * workers have finished, Ticker stops itself and reports the count and the object balance.
 * File: Quit (Q). */
#include "tests/images/gui_app_support.h"

enum {
    kTimerAction = 0,
    kThreadRun = 0,
    kTimerModeOffset = 32,
    kWorkerRounds = 500,
};

static ClassRecord* g_semaphore_class;
static RuntimeObject* g_section;
static RuntimeObject* g_workers[2];
static RuntimeObject* g_ticker;
static RuntimeObject* g_once;
static int32_t g_total;
static int32_t g_ticks;
static int32_t g_once_done;
static int32_t g_objects_before;

static void worker_run(RuntimeObject* self)
{
    (void)self;
    for (int32_t i = 0; i < kWorkerRounds; ++i) {
        RuntimeString* joined = RuntimeAddString(QV_STR("work "), QV_STR("item"));
        RuntimeString* upper = StringUCase(joined);
        RuntimeUnlockString(joined);
        RuntimeObject* semaphore = RuntimeNewObject(g_semaphore_class);
        criticalsection_enter(g_section);
        int32_t seen = g_total;
        seen += StringLen(upper) == 9; /* some work between the read and the write */
        g_total = seen;
        criticalsection_leave(g_section);
        RuntimeUnlockObject(semaphore);
        RuntimeUnlockString(upper);
    }
}

static void once_action(RuntimeObject* self)
{
    say(QV_STR("Once Mode "), number(intGetter(self, kTimerModeOffset)));
    int32_t before = g_ticks;
    RuntimeMsgBox(QV_STR("Box open"));
    say(QV_STR("Ticks inside the box: "), g_ticks > before ? QuavBuildString("yes", 3) : QuavBuildString("no", 2));
    g_once_done = 1;
}

static void ticker_action(RuntimeObject* self)
{
    ++g_ticks;
    if (!g_once_done || ThreadGetID(g_workers[0]) || ThreadGetID(g_workers[1]))
        return;
    timerModeSetter(self, 0);
    g_once_done = 0;
    say(QV_STR("Workers counted "), number(g_total));
    say(QV_STR("Objects balanced "), number(RuntimeDebugObjectCount(0) == g_objects_before));
    say(QV_STR("Stack size "), number(ThreadGetStackSize(g_workers[0])));
}

static RuntimeObject* new_timer(ClassRecord* c, int32_t period, int32_t mode)
{
    RuntimeObject* timer = RuntimeNewObject(c);
    timerPeriodSetter(timer, period);
    timerModeSetter(timer, mode);
    return timer;
}

static void app_open(RuntimeObject* app)
{
    (void)app;
    RuntimeMsgBox(QV_STR("Open"));
    g_semaphore_class = RuntimeLookupClass(QV_STR("Semaphore"));
    g_section = RuntimeNewObject(RuntimeLookupClass(QV_STR("CriticalSection")));

    ClassRecord* worker = subclass(RuntimeLookupClass(QV_STR("Thread")), QV_STR("Worker"), 0);
    set_event(worker, kThreadRun, (void*)worker_run);
    ClassRecord* timer = RuntimeLookupClass(QV_STR("Timer"));
    ClassRecord* ticker = subclass(timer, QV_STR("Ticker"), 0);
    set_event(ticker, kTimerAction, (void*)ticker_action);
    ClassRecord* once = subclass(timer, QV_STR("Once"), 0);
    set_event(once, kTimerAction, (void*)once_action);

    g_workers[0] = RuntimeNewObject(worker);
    g_workers[1] = RuntimeNewObject(worker);
    g_ticker = new_timer(ticker, 20, 2);
    g_once = new_timer(once, 100, 1);
    g_objects_before = RuntimeDebugObjectCount(0);
    threadRun(g_workers[0]);
    threadRun(g_workers[1]);
}

static void app_close(RuntimeObject* app)
{
    (void)app;
    RuntimeUnlockObject(g_ticker);
    RuntimeUnlockObject(g_once);
    RuntimeUnlockObject(g_workers[0]);
    RuntimeUnlockObject(g_workers[1]);
    RuntimeUnlockObject(g_section);
    RuntimeMsgBox(QV_STR("Close"));
}

void ImageEntry(void)
{
    RuntimeInit();

    ClassRecord* app_class = subclass(RuntimeLookupClass(QV_STR("Application")), QV_STR("TimersApp"), 0);
    set_event(app_class, kAppOpen, (void*)app_open);
    set_event(app_class, kAppClose, (void*)app_close);

    ClassRecord* menu_item = RuntimeLookupClass(QV_STR("MenuItem"));
    RuntimeObject* bar = RuntimeNewObject(RuntimeLookupClass(QV_STR("MenuBar")));
    RuntimeObject* file = add_item(bar, menu_item, QV_STR("File"), QV_STR("FileMenu"), 0);
    add_item(file, RuntimeLookupClass(QV_STR("QuitMenuItem")), QV_STR("Quit"), QV_STR("FileQuit"), QV_STR("Q"));

    RuntimeObject* app = RuntimeNewObject(app_class);
    AppMenuBarSetter(app, bar);
    RuntimeUnlockObject(bar);
    RuntimeRegisterAppObject(app);
    RuntimeRun();
    RuntimeUnlockObject(app);
    RuntimeExit();
}
