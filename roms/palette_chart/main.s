; wrenfold_palette_chart: shows the 64 colours one after another, each filling the whole
; picture for FRAMES_PER_COLOUR frames, colour 0 first, and then starts again under the next
; colour emphasis ($2001 bits 5-7: none, red, green, red and green, ... all three), eight
; passes in all before it begins anew. Every tile is blank, so the picture is the backdrop;
; all 32 palette entries hold the colour shown, so nothing else can appear.
; scripts/compare-frames.sh runs it through both emulators to learn which picture colour the
; reference gives each colour number under each emphasis.
.include "nes.inc"
.include "runtime.inc"

FRAMES_PER_COLOUR = 8
COLOUR_COUNT      = 64
MASK_EMPHASIS_STEP = $20            ; the emphasis bits count up from bit 5

.segment "ZEROPAGE"
colour: .res 1

.segment "CODE"

.proc main
    lda #CTRL_NMI
    sta ppu_ctrl
    sta PPUCTRL
    lda #0                          ; tile 0 is blank
    jsr clear_nametables
    lda #0
    sta colour
    jsr fill_palette
    lda #MASK_BG | MASK_BG_LEFT
    jsr rendering_on
@next_colour:
    ldx #FRAMES_PER_COLOUR
@hold:
    jsr wait_frame
    dex
    bne @hold
    ldx colour
    inx
    cpx #COLOUR_COUNT
    bne @store
    lda ppu_mask                    ; every colour shown: the next emphasis, after all three none
    clc
    adc #MASK_EMPHASIS_STEP
    sta ppu_mask
    ldx #0
@store:
    stx colour
    jsr fill_palette
    jmp @next_colour
.endproc

; Puts `colour` into all 32 entries of palette_buffer; the next NMI uploads them.
.proc fill_palette
    lda colour
    ldy #31
@entry:
    sta palette_buffer, y
    dey
    bpl @entry
    lda #1
    sta palette_dirty
    rts
.endproc
