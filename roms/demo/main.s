; wrenfold_demo: start-up and palettes. Music starts with the title and plays throughout.
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"
.include "demo.inc"

.segment "CODE"

.proc main
    lda #PPU_CTRL_DEMO
    sta ppu_ctrl
    sta PPUCTRL                     ; NMIs from now on; the PPU stays locked until the title
    ldx #<song_meadow
    ldy #>song_meadow
    jsr music_play
    jmp title_screen
.endproc

.segment "RODATA"

; $3F10 mirrors $3F00 on the console, so every backdrop slot holds the same sky blue.
SKY = $21
palette_title:
    .byte SKY, $07, $27, $38        ; logo: shadow, lower half, upper half
    .byte SKY, $38, $17, $1A        ; meadow: pale yellow, brown, green
    .byte SKY, SKY, $01, $30        ; text on the sky: background, shadow, letters
    .byte SKY, $30, $27, $07        ; clouds and blocks
    .byte SKY, $0F, $17, $37        ; wren
    .byte SKY, $0F, $14, $24        ; beetle
    .byte SKY, $1A, $16, $36        ; berry and hearts
    .byte SKY, $01, $28, $30        ; seed, sparkle, split marker
palette_game:
    .byte SKY, $30, $27, $07        ; sky: clouds and blocks
    .byte SKY, $38, $17, $1A        ; meadow
    .byte SKY, $30, $27, $07
    .byte SKY, $01, $11, $30        ; status bar: navy, blue shadow, white letters
    .byte SKY, $0F, $17, $37
    .byte SKY, $0F, $14, $24
    .byte SKY, $1A, $16, $36
    .byte SKY, $01, $28, $30
