/* The smallest 32-bit x86 program: exits with status 0 through the i386
   system call, without any library. It runs only where this machine can
   execute 32-bit x86 code, natively or through binfmt_misc. */
void _start(void) {
    __asm__ volatile("movl $1, %eax\n\txorl %ebx, %ebx\n\tint $0x80");
}
