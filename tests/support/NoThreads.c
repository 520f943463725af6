/* Preloaded into a program under test: every attempt to start a thread fails as it
   does when the system has no threads or memory to spare. */
#include <errno.h>
#include <pthread.h>

int pthread_create(pthread_t *thread, const pthread_attr_t *attributes, void *(*run)(void *), void *argument) {
    (void)thread;
    (void)attributes;
    (void)run;
    (void)argument;
    return EAGAIN;
}
