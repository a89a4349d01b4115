; Reset, NMI, frame synchronisation, joypad and VRAM helpers shared by the Wrenfold cartridges.
.include "nes.inc"
.include "runtime.inc"
.include "sound.inc"

.segment "ZEROPAGE"
nmi_count:      .res 1  ; advanced by every NMI
ppu_ctrl:       .res 1  ; written to PPUCTRL by the NMI (name table select, sprite size, NMI on)
ppu_mask:       .res 1  ; written to PPUMASK by the NMI
scroll_x:       .res 1  ; scroll written by the NMI, in effect from the top of the picture
scroll_y:       .res 1
ppu_locked:     .res 1  ; non-zero: main code owns the PPU (rendering off), the NMI keeps away
vram_ready:     .res 1  ; non-zero: the queue is complete and the next NMI uploads it
palette_dirty:  .res 1  ; non-zero: the next NMI uploads palette_buffer
temp0:          .res 1
temp1:          .res 1
temp2:          .res 1
temp3:          .res 1
ptr0:           .res 2
ptr1:           .res 2
pad:            .res 1  ; buttons held, BUTTON_* masks
pad_new:        .res 1  ; buttons pressed since the previous read
rng:            .res 2
result_enabled: .res 1  ; non-zero once the result header is written: the NMI updates the heartbeat
pad_previous:   .res 1
irq_vector:     .res 2  ; the IRQ handler of a cartridge with a mapper IRQ (else a bare RTI)

.segment "OAM"
oam_buffer:     .res 256

.segment "BSS"
vram_queue_len: .res 1
vram_queue:     .res VRAM_QUEUE_SIZE
palette_buffer: .res 32

.segment "CODE"

; ---- Reset ----------------------------------------------------------------------------------
.proc reset
    sei
    cld
    ldx #$40
    stx APU_FRAME           ; no frame-counter IRQ
    ldx #$FF
    txs
    inx
    stx PPUCTRL             ; no NMI until the cartridge is ready for it
    stx PPUMASK
    stx DMC_FREQ            ; no DMC IRQ
    stx APU_STATUS
    bit PPUSTATUS           ; the vblank bit may be set at power-on

    ; The PPU ignores most writes for about two frames after power-on: wait for two vblanks.
@wait_vblank_1:
    lda PPUSTATUS
    bpl @wait_vblank_1

    lda #0
    tax
@clear_ram:
    sta $0000, x
    sta $0100, x
    sta $0300, x
    sta $0400, x
    sta $0500, x
    sta $0600, x
    sta $0700, x
    inx
    bne @clear_ram
    jsr hide_all_sprites

@wait_vblank_2:
    lda PPUSTATUS
    bpl @wait_vblank_2

    lda #$5A                ; fixed seed; games mix in frame counts later
    sta rng
    lda #$1D
    sta rng + 1
    lda #1
    sta ppu_locked          ; rendering is off until the cartridge turns it on
    lda #<irq_return
    sta irq_vector
    lda #>irq_return
    sta irq_vector + 1
    jsr sound_init
    jmp main
.endproc

; ---- NMI ------------------------------------------------------------------------------------
; Uploads sprites, palette and the VRAM queue, then sets scroll and rendering, then runs the sound
; driver. All PPU work happens first so that it ends well inside vblank.
.proc nmi
    pha
    txa
    pha
    tya
    pha

    lda ppu_locked
    bne @ppu_done

    lda #0
    sta OAMADDR
    lda #>oam_buffer
    sta OAMDMA

    bit PPUSTATUS           ; reset the $2005/$2006 write toggle
    lda palette_dirty
    beq @palette_done
    lda #>PALETTE
    sta PPUADDR
    lda #<PALETTE
    sta PPUADDR
    ldx #0
@palette_loop:
    lda palette_buffer, x
    sta PPUDATA
    inx
    cpx #32
    bne @palette_loop
    lda #0
    sta palette_dirty
@palette_done:

    lda vram_ready
    beq @queue_done
    jsr flush_vram_queue
@queue_done:

    ; Scroll last: the PPUCTRL and PPUSCROLL writes reload the scroll latch after the $2006 writes.
    lda ppu_ctrl
    sta PPUCTRL
    lda scroll_x
    sta PPUSCROLL
    lda scroll_y
    sta PPUSCROLL
    lda ppu_mask
    sta PPUMASK
@ppu_done:

    inc nmi_count
    lda result_enabled
    beq @no_heartbeat
    lda nmi_count
    sta RESULT_HEARTBEAT
@no_heartbeat:
    jsr sound_update

    pla
    tay
    pla
    tax
    pla
    rti
.endproc

; Entries are: length (1-255), address high byte (bit 7 = step 32), address low byte, data.
; A length of 0 ends the queue.
.proc flush_vram_queue
    ldx #0
@entry:
    ldy vram_queue, x
    beq @done
    lda vram_queue + 1, x
    bmi @column
    lda ppu_ctrl
    and #<~CTRL_INC32
    jmp @set_ctrl
@column:
    lda ppu_ctrl
    ora #CTRL_INC32
@set_ctrl:
    sta PPUCTRL
    lda vram_queue + 1, x
    and #$3F
    sta PPUADDR
    lda vram_queue + 2, x
    sta PPUADDR
    inx
    inx
    inx
@copy:
    lda vram_queue, x
    sta PPUDATA
    inx
    dey
    bne @copy
    beq @entry
@done:
    lda #0
    sta vram_queue
    sta vram_queue_len
    sta vram_ready
    rts
.endproc

.proc irq
    jmp (irq_vector)
.endproc

.proc irq_return
    rti
.endproc

; ---- Frame synchronisation ------------------------------------------------------------------
; Returns right after the next NMI has finished.
.proc wait_frame
    lda nmi_count
@wait:
    cmp nmi_count
    beq @wait
    rts
.endproc

; Blanks the picture at the next vblank and then hands the PPU to main code. Queued updates
; that were not uploaded yet belong to the old picture and are dropped.
.proc rendering_off
    lda #0
    sta ppu_mask
    jsr wait_frame
    lda #1
    sta ppu_locked
    lda #0
    sta vram_ready
    sta vram_queue_len
    sta vram_queue
    rts
.endproc

; Gives the PPU back to the NMI with A as the mask; the picture returns at the next vblank,
; after the NMI has set palette and scroll.
.proc rendering_on
    sta ppu_mask
    lda #1
    sta palette_dirty               ; before the unlock, so the first NMI brings the new colours
    lda #0
    sta ppu_locked
    jmp wait_frame
.endproc

; ---- Joypad ---------------------------------------------------------------------------------
; Reads pad 1 twice and repeats until both reads agree: a DMC fetch during the read can drop a bit.
.proc read_pad
@again:
    jsr read_pad_once
    sta temp0
    jsr read_pad_once
    cmp temp0
    bne @again
    sta pad
    eor pad_previous
    and pad
    sta pad_new
    lda pad
    sta pad_previous
    rts
.endproc

.proc read_pad_once
    lda #1
    sta JOYPAD1             ; strobe: latch the buttons
    lda #0
    sta JOYPAD1
    ldx #8
@bit:
    lda JOYPAD1
    and #%00000011          ; standard pad or Famicom expansion pad
    cmp #1
    rol temp1
    dex
    bne @bit
    lda temp1
    rts
.endproc

; ---- Random numbers -------------------------------------------------------------------------
; 16-bit Galois LFSR; returns 8 fresh bits in A.
.proc rand
    ldy #8
    lda rng
@step:
    asl a
    rol rng + 1
    bcc @no_feedback
    eor #$39
@no_feedback:
    dey
    bne @step
    sta rng
    rts
.endproc

; ---- VRAM queue -----------------------------------------------------------------------------
; Starts a queue entry: A = length, X = address high byte (| VRAM_INC32), Y = address low byte.
; Returns X = index in vram_queue where the caller stores the data; vram_end closes the entry.
.proc vram_begin
    stx temp3
    ldx vram_queue_len
    sta vram_queue, x
    lda temp3
    sta vram_queue + 1, x
    tya
    sta vram_queue + 2, x
    inx
    inx
    inx
    rts
.endproc

; Closes the entry whose data ends before index X.
.proc vram_end
    stx vram_queue_len
    lda #0
    sta vram_queue, x
    rts
.endproc

; ---- Direct PPU access (rendering off, ppu_locked set) --------------------------------------
; Fills both name tables with tile A and clears their attributes.
.proc clear_nametables
    sta temp0
    bit PPUSTATUS
    lda #>NAMETABLE_0
    sta PPUADDR
    lda #0
    sta PPUADDR
    ldy #8                  ; 8 x 256 bytes = two name tables with their attributes
    ldx #0
@fill:
    lda temp0
    cpy #5                  ; pages 4 and 8 hold the last 192 tiles and the attributes
    beq @page_with_attributes
    cpy #1
    beq @page_with_attributes
@plain:
    sta PPUDATA
    inx
    bne @plain
    beq @next_page
@page_with_attributes:
    cpx #$C0
    bcc @tile
    lda #0
@tile:
    sta PPUDATA
    inx
    bne @page_with_attributes
@next_page:
    dey
    bne @fill
    rts
.endproc

; Draws a list of strings from ptr0: address high, address low, text, 0; a high byte of 0 ends it.
.proc draw_text_list
    ldy #0
@string:
    lda (ptr0), y
    beq @done
    bit PPUSTATUS
    sta PPUADDR
    iny
    lda (ptr0), y
    sta PPUADDR
    iny
@char:
    lda (ptr0), y
    beq @end_of_string
    sta PPUDATA
    iny
    bne @char
@end_of_string:
    iny
    tya                     ; move ptr0 past the string so Y can start again at 0
    clc
    adc ptr0
    sta ptr0
    bcc :+
    inc ptr0 + 1
:   ldy #0
    beq @string
@done:
    rts
.endproc

; Sets the attribute table whose high address byte is in X ($23 or $27) from 15 bytes at ptr0:
; the palette (0-3) of each band of two tile rows, the same across the whole width.
.proc set_attribute_bands
    bit PPUSTATUS
    stx PPUADDR
    lda #$C0
    sta PPUADDR
    ldy #0
@row:
    lda (ptr0), y           ; upper band of this attribute row: bits 0-1 and 2-3
    sta temp0
    asl a
    asl a
    ora temp0
    sta temp0
    iny
    lda #0
    cpy #15
    beq @lower
    lda (ptr0), y           ; lower band: bits 4-5 and 6-7
@lower:
    sta temp1
    asl a
    asl a
    ora temp1
    asl a
    asl a
    asl a
    asl a
    ora temp0
    iny
    ldx #8
@column:
    sta PPUDATA
    dex
    bne @column
    cpy #16
    bne @row
    rts
.endproc

; Copies 32 palette bytes from ptr0 into palette_buffer; the next NMI uploads them.
.proc load_palette
    ldy #31
@copy:
    lda (ptr0), y
    sta palette_buffer, y
    dey
    bpl @copy
    lda #1
    sta palette_dirty
    rts
.endproc

; Copies temp1:temp0 bytes (high:low) from ptr0 to PPUDATA at the address already set.
.proc copy_to_vram
    ldy #0
    ldx temp1
    beq @last_page
@page:
    lda (ptr0), y
    sta PPUDATA
    iny
    bne @page
    inc ptr0 + 1
    dex
    bne @page
@last_page:
    ldx temp0
    beq @done
@tail:
    lda (ptr0), y
    sta PPUDATA
    iny
    dex
    bne @tail
@done:
    rts
.endproc

; ---- Sprites --------------------------------------------------------------------------------
.proc hide_all_sprites
    lda #SPRITE_HIDDEN_Y
    ldx #0
@hide:
    sta oam_buffer, x
    inx
    inx
    inx
    inx
    bne @hide
    rts
.endproc

; ---- Result block ---------------------------------------------------------------------------
; Writes "WREN" and the cartridge id (A) to $6001-$6005 and starts the heartbeat at $6006.
.proc write_result_header
    sta RESULT_CART_ID
    lda #'W'
    sta RESULT_MAGIC
    lda #'R'
    sta RESULT_MAGIC + 1
    lda #'E'
    sta RESULT_MAGIC + 2
    lda #'N'
    sta RESULT_MAGIC + 3
    lda nmi_count
    sta RESULT_HEARTBEAT
    lda #1
    sta result_enabled
    rts
.endproc

; Stores the phase byte (A) at $6000.
.proc set_result_phase
    sta RESULT_PHASE
    rts
.endproc

.segment "VECTORS"
    .addr nmi
    .addr reset
    .addr irq
