/* Shows message boxes for the dialog tests; the first argument picks which:
   confirm (default) and alert ask while another thread keeps changing the
   background, "two" shows two alerts from two threads at once, "series" three
   alerts one after another from the game thread, "early" an alert before the
   window exists, "keyup" an alert from the key-up handler on the window
   thread. Each answer is printed. */
#include <stdio.h>
#include <string.h>

#include <vindle.h>

#include "animate_background.h"

static const char* mode = "confirm";


static void alertFromThread(void* argument) {
    printf("alert %d=%d\n", *(int*)argument, alert("线程%d", *(int*)argument));
    fflush(stdout);
}

static void alertOnKeyUp(unsigned char key) {
    printf("key up %d\n", key);
    fflush(stdout);
    printf("keyup alert=%d\n", alert("松开了%c键", key));
    fflush(stdout);
}

static void gameMain(void) {
    if (strcmp(mode, "keyup") == 0) {
        onNormalKeyUp(alertOnKeyUp);
        printf("ready\n");
        fflush(stdout);
        pauseGame(60000);
        return;
    }
    if (strcmp(mode, "two") == 0) {
        static int first = 1, second = 2;
        asyncRun(alertFromThread, &first);
        asyncRun(alertFromThread, &second);
        pauseGame(60000);
        return;
    }
    if (strcmp(mode, "early") == 0) return;
    if (strcmp(mode, "series") == 0) {
        for (int i = 1; i <= 3; ++i) {
            printf("alert %d=%d\n", i, alert("第%d个", i));
            fflush(stdout);
        }
        return;
    }
    asyncRun(animateBackground, NULL);
    if (strcmp(mode, "alert") == 0) {
        printf("alert=%d\n", alert("分数：%d", 42));
    } else {
        printf("confirm=%d\n", confirm("再玩一次？第%d局", 2));
    }
    fflush(stdout);
}

int main(int argc, char** argv) {
    if (argc > 1) mode = argv[1];
    if (strcmp(mode, "early") == 0) {
        printf("early=%d\n", alert("窗口还没有打开"));
        fflush(stdout);
    }
    zqInit(gameMain);
    return 0;
}
